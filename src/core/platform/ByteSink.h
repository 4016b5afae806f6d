// SPDX-License-Identifier: MIT
// Where a file's bytes go while they are made, so a large output never has to be held whole.
#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace dirscribe {

// Receives bytes in order. Write throws Error when they cannot be written.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void Write(std::string_view bytes) = 0;
};

// Keeps what it receives, for outputs that are wanted as a string.
class StringSink final : public ByteSink {
public:
    void Write(std::string_view bytes) override { m_text += bytes; }
    [[nodiscard]] const std::string& Text() const { return m_text; }
    [[nodiscard]] std::string Take() { return std::move(m_text); }

private:
    std::string m_text;
};

// Gathers small writes into large ones: writers append pieces of a few bytes each, and a
// sink that reaches a file or a pipe gets them in blocks. Flush() hands over the rest;
// whatever is still held when the writer ends is lost, so writers end with Flush().
class BufferedWriter {
public:
    explicit BufferedWriter(ByteSink& sink) : m_sink(sink) { m_buffer.reserve(kBlock + 4096); }
    BufferedWriter(const BufferedWriter&) = delete;
    BufferedWriter& operator=(const BufferedWriter&) = delete;

    BufferedWriter& operator<<(std::string_view text) {
        m_buffer += text;
        if (m_buffer.size() >= kBlock)
            Flush();
        return *this;
    }
    BufferedWriter& operator<<(char c) {
        m_buffer += c;
        if (m_buffer.size() >= kBlock)
            Flush();
        return *this;
    }
    void Flush() {
        m_sink.Write(m_buffer);
        m_buffer.clear();
    }

private:
    static constexpr std::size_t kBlock = 1 << 16;
    ByteSink& m_sink;
    std::string m_buffer;
};

} // namespace dirscribe
