#include "BatchConvert.h"

#include "engine/NumberText.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>

namespace pevrand::cli
{
namespace
{

// The count that read(2) and write(2) take: the Windows C runtime's takes an unsigned int, so a
// call moves at most a gigabyte, and the loops around them go on with the rest.
#ifdef _WIN32
using IoCount = unsigned int;
#else
using IoCount = std::size_t;
#endif
IoCount ToIoCount(std::size_t size)
{
    return static_cast<IoCount>(std::min<std::size_t>(size, std::size_t{1} << 30));
}

// With TO `all`, the messages that say an angle or a flight path was needed but not given
// stand in a quantity's value column: they are expected there, not failures.
bool GeometryNotGiven(MessageId message)
{
    return message == MessageId::AngleNotGiven || message == MessageId::PathNotGiven;
}

std::string_view WithoutCarriageReturn(std::string_view text)
{
    if (!text.empty() && text.back() == '\r')
        text.remove_suffix(1);
    return text;
}

// Before each read the output so far goes out, so that results appear as lines come in.
class FlushingSource : public ByteSource
{
public:
    FlushingSource(ByteSource &source, OutputBuffer &out, OutputBuffer &errors)
        : source_(source), out_(out), errors_(errors)
    {
    }
    std::ptrdiff_t Read(char *buffer, std::size_t size) override
    {
        out_.Flush();
        errors_.Flush();
        return source_.Read(buffer, size);
    }
    std::string Failure() const override { return source_.Failure(); }

private:
    ByteSource &source_;
    OutputBuffer &out_, &errors_;
};

// Flushes both buffers and says how the batch ended; a broken output or input is reported on
// the error stream.
BatchStatus Finish(bool allConverted, bool readFailed, const std::string &readFailure,
                   OutputBuffer &out, OutputBuffer &errors)
{
    out.Flush();
    if (out.Failed())
        errors.Append("pevrand-convert: cannot write the output: " + out.Sink().Failure() + "\n");
    if (readFailed)
        errors.Append("pevrand-convert: cannot read standard input: " + readFailure + "\n");
    errors.Flush();
    if (out.Failed() || readFailed)
        return BatchStatus::Broken;
    return allConverted ? BatchStatus::AllConverted : BatchStatus::SomeFailed;
}

} // namespace

OutputBuffer::OutputBuffer(ByteSink &sink) : sink_(sink)
{
    held_.reserve(Capacity);
}

void OutputBuffer::Append(std::string_view bytes)
{
    if (failed_)
        return;
    if (held_.size() + bytes.size() > Capacity && !Flush())
        return;
    if (bytes.size() > Capacity)
        failed_ = !sink_.Write(bytes);
    else
        held_.append(bytes);
}

bool OutputBuffer::Flush()
{
    if (!failed_ && !held_.empty())
        failed_ = !sink_.Write(held_);
    held_.clear();
    return !failed_;
}

LineReader::LineReader(ByteSource &source) : source_(source), buffer_(KeptLength + BlockSize)
{
    longLine_.reserve(KeptLength);
}

bool LineReader::Fill()
{
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    const std::ptrdiff_t count = source_.Read(buffer_.data() + end_, buffer_.size() - end_);
    if (count < 0) {
        failed_ = atEnd_ = true;
        return false;
    }
    if (count == 0)
        atEnd_ = true;
    end_ += static_cast<std::size_t>(count);
    return true;
}

std::optional<LineReader::Line> LineReader::Next()
{
    while (!failed_) {
        const char *data = buffer_.data();
        const void *newline = std::memchr(data + begin_, '\n', end_ - begin_);
        if (newline != nullptr) {
            const auto at = static_cast<std::size_t>(static_cast<const char *>(newline) - data);
            const std::string_view text(data + begin_, at - begin_);
            begin_ = at + 1;
            // However the input was split into reads, a line is cut at the same length.
            if (text.size() > KeptLength)
                return Line{text.substr(0, KeptLength), true};
            return Line{WithoutCarriageReturn(text), false};
        }
        if (end_ - begin_ > KeptLength)
            return SkipRestOfLongLine();
        if (atEnd_) {
            if (begin_ == end_)
                return std::nullopt;
            const std::string_view text(data + begin_, end_ - begin_);
            begin_ = end_;
            return Line{WithoutCarriageReturn(text), false};
        }
        Fill();
    }
    return std::nullopt;
}

std::optional<LineReader::Line> LineReader::SkipRestOfLongLine()
{
    longLine_.assign(buffer_.data() + begin_, KeptLength);
    begin_ += KeptLength;
    for (;;) {
        const void *newline = std::memchr(buffer_.data() + begin_, '\n', end_ - begin_);
        if (newline != nullptr) {
            begin_ =
                static_cast<std::size_t>(static_cast<const char *>(newline) - buffer_.data()) + 1;
            return Line{longLine_, true};
        }
        begin_ = end_ = 0;
        if (atEnd_)
            return Line{longLine_, true};
        if (!Fill())
            return std::nullopt;
    }
}

ValueConverter::ValueConverter(const ConvertArguments &arguments)
    : to_(arguments.To), full_(arguments.Full)
{
    request_.Input = arguments.From;
    request_.Constants = arguments.Constants;
    request_.TwoThetaText = arguments.TwoThetaText;
    request_.FlightPathText = arguments.FlightPathText;
}

ConvertOutcome ValueConverter::Run(std::string_view text, bool cut, Quantity to)
{
    // The Convert command looks at a value text only as far as ReadingExtent says; a cut text
    // converts as the whole would, unless its number runs on to the cut.
    if (cut && ReadingExtent(text) >= text.size())
        return {{}, MessageId::NumberTooLong};
    request_.InputText.assign(text);
    request_.Output = to;
    ConvertOutcome outcome = RunConvert(request_);
    if (full_ && outcome.Result)
        outcome.OutputText = RowOf(request_.Constants).SingleSteps
                                 ? ShortestText(static_cast<float>(*outcome.Result))
                                 : ShortestText(*outcome.Result);
    return outcome;
}

void ValueConverter::Report(MessageId message, std::string_view where, std::size_t number,
                            OutputBuffer &errors)
{
    const std::string_view text = MessageOf(message).Text;
    for (const char *done : reported_)
        if (done == text.data())
            return;
    reported_.push_back(text.data());
    std::array<char, 24> digits;
    const auto written = std::to_chars(digits.data(), digits.data() + digits.size(), number);
    errors.Append("pevrand-convert: ");
    errors.Append(where);
    errors.Append(" ");
    errors.Append(
        std::string_view(digits.data(), static_cast<std::size_t>(written.ptr - digits.data())));
    errors.Append(": ");
    errors.Append(text);
    errors.Append("\n");
}

bool ValueConverter::Convert(std::string_view text, bool cut, std::string_view where,
                             std::size_t number, OutputBuffer &out, OutputBuffer &errors)
{
    reported_.clear();
    if (to_) {
        const ConvertOutcome outcome = Run(text, cut, *to_);
        if (!outcome.Message) {
            out.Append(outcome.OutputText);
            out.Append("\n");
            return true;
        }
        out.Append("\n");
        Report(*outcome.Message, where, number, errors);
        return false;
    }

    bool converted = true;
    for (int code = static_cast<int>(Quantity::Energy); code <= static_cast<int>(Quantity::Tof);
         ++code) {
        const auto quantity = static_cast<Quantity>(code);
        const ConvertOutcome outcome = Run(text, cut, quantity);
        out.Append(QuantityName(quantity));
        out.Append("\t");
        if (!outcome.Message) {
            out.Append(outcome.OutputText);
        } else if (GeometryNotGiven(*outcome.Message)) {
            out.Append(MessageOf(*outcome.Message).Text);
        } else {
            Report(*outcome.Message, where, number, errors);
            converted = false;
        }
        out.Append("\n");
    }
    return converted;
}

BatchStatus ConvertValues(const ConvertArguments &arguments, ByteSink &out, ByteSink &errors)
{
    OutputBuffer outBuffer(out), errorBuffer(errors);
    ValueConverter converter(arguments);
    bool allConverted = true;
    for (std::size_t i = 0; i < arguments.Values.size() && !outBuffer.Failed(); ++i)
        if (!converter.Convert(arguments.Values[i], false, "value", i + 1, outBuffer, errorBuffer))
            allConverted = false;
    return Finish(allConverted, false, {}, outBuffer, errorBuffer);
}

BatchStatus ConvertLines(const ConvertArguments &arguments, ByteSource &input, ByteSink &out,
                         ByteSink &errors)
{
    OutputBuffer outBuffer(out), errorBuffer(errors);
    FlushingSource flushing(input, outBuffer, errorBuffer);
    LineReader reader(flushing);
    ValueConverter converter(arguments);
    bool allConverted = true;
    std::size_t number = 0;
    while (!outBuffer.Failed()) {
        const std::optional<LineReader::Line> line = reader.Next();
        if (!line)
            break;
        if (!converter.Convert(line->Text, line->Cut, "line", ++number, outBuffer, errorBuffer))
            allConverted = false;
    }
    return Finish(allConverted, reader.Failed(), reader.Failed() ? input.Failure() : "", outBuffer,
                  errorBuffer);
}

std::ptrdiff_t DescriptorSource::Read(char *buffer, std::size_t size)
{
    for (;;) {
        const auto count = ::read(fd_, buffer, ToIoCount(size));
        if (count >= 0)
            return count;
        if (errno != EINTR) {
            error_ = errno;
            return -1;
        }
    }
}

std::string DescriptorSource::Failure() const
{
    return std::strerror(error_);
}

bool DescriptorSink::Write(std::string_view bytes)
{
    while (!bytes.empty()) {
        const auto count = ::write(fd_, bytes.data(), ToIoCount(bytes.size()));
        if (count < 0) {
            if (errno == EINTR)
                continue;
            error_ = errno;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

std::string DescriptorSink::Failure() const
{
    return std::strerror(error_);
}

} // namespace pevrand::cli
