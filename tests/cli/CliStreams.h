// In-memory sources and sinks for the batch loop's tests.
#pragma once

#include "cli/BatchConvert.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace pevrand::cli::test
{

// Hands out `text` at most `chunk` bytes per read, then fails if `failAtEnd`.
class TextSource : public ByteSource
{
public:
    TextSource(std::string text, std::size_t chunk, bool failAtEnd = false)
        : text_(std::move(text)), chunk_(chunk), failAtEnd_(failAtEnd)
    {
    }
    std::ptrdiff_t Read(char *buffer, std::size_t size) override
    {
        const std::size_t count = std::min({size, chunk_, text_.size() - at_});
        if (count == 0 && failAtEnd_)
            return -1;
        std::memcpy(buffer, text_.data() + at_, count);
        at_ += count;
        return static_cast<std::ptrdiff_t>(count);
    }
    std::string Failure() const override { return "Input/output error"; }

private:
    std::string text_;
    std::size_t chunk_, at_ = 0;
    bool failAtEnd_;
};

// Collects what is written; refuses every write once `limit` bytes have gone in.
class TextSink : public ByteSink
{
public:
    explicit TextSink(std::size_t limit = std::string::npos) : limit_(limit) {}
    bool Write(std::string_view bytes) override
    {
        if (text.size() + bytes.size() > limit_)
            return false;
        text += bytes;
        return true;
    }
    std::string Failure() const override { return "No space left on device"; }
    std::string text;

private:
    std::size_t limit_;
};

} // namespace pevrand::cli::test
