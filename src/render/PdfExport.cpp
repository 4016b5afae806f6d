// SPDX-License-Identifier: MIT
// A print job saved as a PDF file.
#include "render/PdfExport.h"

#include "core/Error.h"
#include "core/platform/AtomicFile.h"
#include "core/platform/Clock.h"
#include "render/PagePrinter.h"

#include <QByteArray>
#include <QIODevice>
#include <QPdfWriter>
#include <QString>
#include <array>
#include <ctime>
#include <optional>
#include <string_view>

namespace dirscribe {

namespace {

// Fine enough that 0.01 inch is a whole number of device units.
constexpr int kPdfResolution = 1200;

// Qt stamps the document with the wall clock; the program's own "now" (which
// SOURCE_DATE_EPOCH fixes) takes its place, in the same number of bytes so that the
// file's cross-reference offsets stay right.
void StampCreationDate(QByteArray& bytes) {
    static constexpr std::string_view kKey = "/CreationDate (D:";
    constexpr qsizetype kDigits = 14;
    const qsizetype at = bytes.indexOf(kKey.data());
    if (at < 0 || at + static_cast<qsizetype>(kKey.size()) + kDigits > bytes.size())
        return;
    const std::time_t now = Now();
    std::tm utc{};
    ::gmtime_r(&now, &utc);
    std::array<char, kDigits + 1> digits{};
    if (std::strftime(digits.data(), digits.size(), "%Y%m%d%H%M%S", &utc) != kDigits)
        return;
    bytes.replace(at + static_cast<qsizetype>(kKey.size()), kDigits, digits.data(), kDigits);
}

// Hands what the PDF writer writes to a sink a block at a time, so a PDF of thousands of
// pages is never held whole. The creation date stands in the document's header, within
// the first block, which is stamped before it goes. A sink that fails is not told more;
// Finish() throws its error once the writer is done, since Qt cannot pass it on.
class SinkDevice final : public QIODevice {
public:
    explicit SinkDevice(ByteSink& sink) : m_sink(sink) { open(QIODevice::WriteOnly); }

    [[nodiscard]] bool isSequential() const override { return true; }

    void Finish() {
        Pass();
        if (m_failure)
            throw *m_failure;
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        if (m_failure)
            return -1;
        m_block.append(data, size);
        if (m_block.size() >= kBlock)
            Pass();
        return m_failure ? -1 : size;
    }

private:
    static constexpr qsizetype kBlock = qsizetype{1} << 16;

    void Pass() {
        if (m_failure)
            return;
        if (m_first) {
            StampCreationDate(m_block);
            m_first = false;
        }
        try {
            m_sink.Write(
                std::string_view(m_block.constData(), static_cast<std::size_t>(m_block.size())));
        } catch (const Error& error) {
            m_failure = error;
        }
        m_block.clear();
    }

    ByteSink& m_sink;
    QByteArray m_block;
    bool m_first = true;
    std::optional<Error> m_failure;
};

} // namespace

PdfTextWidths::PdfTextWidths() : m_writer(&m_unused), m_widths(m_writer) {
    m_writer.setResolution(kPdfResolution);
}

bool WritePdf(PrintJob& job, const std::string& path, Notice& notice, SpecialFiles special) {
    try {
        // A file is replaced only once the document is complete.
        WriteFileAtomically(
            path,
            [&](ByteSink& sink) {
                SinkDevice device(sink);
                bool drawn = false;
                {
                    QPdfWriter writer(&device);
                    writer.setResolution(kPdfResolution);
                    writer.setCreator(QStringLiteral("Dirscribe"));
                    writer.setTitle(QString::fromStdString(job.FolderPath()));
                    drawn = PrintPages(job, writer, 1, job.PageCount());
                }
                device.Finish();
                if (!drawn)
                    throw Error("Cannot save \"" + path + "\": the PDF could not be drawn");
            },
            special);
    } catch (const Error& error) {
        notice.Show(kCaption, error.what());
        return false;
    }
    return true;
}

} // namespace dirscribe
