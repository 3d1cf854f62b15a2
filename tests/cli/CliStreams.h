// In-memory sources and sinks for the batch loop's tests.
#pragma once

#include "cli/BatchConvert.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace pevrand::cli::test
{

// Hands out `text` at most `chunk` bytes per read.
class TextSource : public ByteSource
{
public:
    TextSource(std::string text, std::size_t chunk) : text_(std::move(text)), chunk_(chunk) {}
    std::ptrdiff_t Read(char *buffer, std::size_t size) override
    {
        const std::size_t count = std::min({size, chunk_, text_.size() - at_});
        std::memcpy(buffer, text_.data() + at_, count);
        at_ += count;
        return static_cast<std::ptrdiff_t>(count);
    }
    std::string Failure() const override { return {}; }

private:
    std::string text_;
    std::size_t chunk_, at_ = 0;
};

// Collects what is written.
class TextSink : public ByteSink
{
public:
    bool Write(std::string_view bytes) override
    {
        text += bytes;
        return true;
    }
    std::string Failure() const override { return {}; }
    std::string text;
};

} // namespace pevrand::cli::test
