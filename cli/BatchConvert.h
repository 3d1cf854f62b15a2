// The batch loop of pevrand-convert: each value through the Convert command, its result text
// on a line of its own, its message on the error stream.
#pragma once

#include "cli/ConvertArguments.h"
#include "convert/ConvertCommand.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pevrand::cli
{

// Where bytes come from: a file, a pipe, or a test's memory.
class ByteSource
{
public:
    virtual ~ByteSource() = default;
    // Reads up to `size` bytes into `buffer`, waiting for at least one: the count read, 0 at
    // the end of the input, -1 on a failure that Failure() then describes.
    virtual std::ptrdiff_t Read(char *buffer, std::size_t size) = 0;
    virtual std::string Failure() const = 0;
};

// Where bytes go.
class ByteSink
{
public:
    virtual ~ByteSink() = default;
    // Writes all of `bytes`; false on a failure that Failure() then describes.
    virtual bool Write(std::string_view bytes) = 0;
    virtual std::string Failure() const = 0;
};

// A block-sized buffer in front of a sink. Once a write has failed, everything else is dropped.
class OutputBuffer
{
public:
    static constexpr std::size_t Capacity = 64 * 1024;

    explicit OutputBuffer(ByteSink &sink);
    void Append(std::string_view bytes);
    // Writes out what is held; false once any write has failed.
    bool Flush();
    bool Failed() const { return failed_; }
    ByteSink &Sink() { return sink_; }

private:
    ByteSink &sink_;
    std::string held_;
    bool failed_ = false;
};

// Splits a source into lines without their endings ("\n", and a "\r" right before it), in
// blocks, with bounded memory: a line longer than KeptLength keeps only its first KeptLength
// bytes, the rest is read and dropped. A last line without "\n" is a line; an input that ends
// with "\n" has no empty line after it.
class LineReader
{
public:
    static constexpr std::size_t KeptLength = 64 * 1024;
    static constexpr std::size_t BlockSize = 64 * 1024;

    struct Line {
        std::string_view Text; // valid until the next call
        bool Cut;              // the line was longer than KeptLength
    };

    explicit LineReader(ByteSource &source);
    // The next line; empty at the end of the input or after a read failure.
    std::optional<Line> Next();
    bool Failed() const { return failed_; }

private:
    bool Fill();
    std::optional<Line> SkipRestOfLongLine();

    ByteSource &source_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0, end_ = 0;
    std::string longLine_;
    bool atEnd_ = false, failed_ = false;
};

// Converts one value text after another with the arguments' quantities and geometry texts.
class ValueConverter
{
public:
    explicit ValueConverter(const ConvertArguments &arguments);

    // Converts the box text `text` (`cut`: only the start of a longer text) and appends its
    // line(s) to `out`: the result text (with --full the unrounded result's shortest text),
    // or an empty line when it fails; with TO `all`, one
    // "name<TAB>value" line per quantity, the value left empty when that conversion fails and
    // replaced by the message when it needs an angle or flight path that was not given. Each
    // failure appends "pevrand-convert: <where> <number>: <message>" to `errors` (once per
    // message). True when nothing failed.
    bool Convert(std::string_view text, bool cut, std::string_view where, std::size_t number,
                 OutputBuffer &out, OutputBuffer &errors);

private:
    ConvertOutcome Run(std::string_view text, bool cut, Quantity to);
    void Report(MessageId message, std::string_view where, std::size_t number,
                OutputBuffer &errors);

    ConvertRequest request_;
    std::optional<Quantity> to_;
    bool full_;
    std::vector<const char *> reported_; // the texts told for this line, by address
};

// How a batch ended.
enum class BatchStatus { AllConverted, SomeFailed, Broken };

// Converts each argument value ("value N" in messages).
BatchStatus ConvertValues(const ConvertArguments &arguments, ByteSink &out, ByteSink &errors);

// Converts each line of `input` ("line N" in messages). Output is written in blocks, and all
// of it before each read, so that a user typing at a terminal sees each result at once.
BatchStatus ConvertLines(const ConvertArguments &arguments, ByteSource &input, ByteSink &out,
                         ByteSink &errors);

// A source or sink over a POSIX file descriptor (read(2), write(2), retried on EINTR).
class DescriptorSource : public ByteSource
{
public:
    explicit DescriptorSource(int fd) : fd_(fd) {}
    std::ptrdiff_t Read(char *buffer, std::size_t size) override;
    std::string Failure() const override;

private:
    int fd_;
    int error_ = 0;
};

class DescriptorSink : public ByteSink
{
public:
    explicit DescriptorSink(int fd) : fd_(fd) {}
    bool Write(std::string_view bytes) override;
    std::string Failure() const override;

private:
    int fd_;
    int error_ = 0;
};

} // namespace pevrand::cli
