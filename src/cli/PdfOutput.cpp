// SPDX-License-Identifier: MIT
// The command line's PDF output.
#include "cli/PdfOutput.h"

#include "render/PdfExport.h"
#include "render/PrintJobOf.h"

#include <QGuiApplication>
#include <QHashFunctions>
#include <QtGlobal>
#include <array>
#include <cstdlib>
#include <memory>

namespace dirscribe {

namespace {

// Qt's own notes about the environment (no runtime folder, no display) mean nothing to
// someone asking for a PDF; only its real errors go to standard error.
void ErrorsOnly(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        qt_message_output(type, context, message);
}

// Puts the previous message handler back when the PDF is done.
class QuietQt {
public:
    QuietQt() : m_previous(qInstallMessageHandler(ErrorsOnly)) {}
    ~QuietQt() { qInstallMessageHandler(m_previous); }
    QuietQt(const QuietQt&) = delete;
    QuietQt& operator=(const QuietQt&) = delete;

private:
    QtMessageHandler m_previous;
};

} // namespace

bool WritePdfOutput(const ListingSession& session, const std::string& path, Notice& notice) {
    const QuietQt quiet;
    // Qt keeps references to the arguments for the application's lifetime.
    std::array program = std::to_array("dirscribe");
    std::array platformOption = std::to_array("-platform");
    std::array offscreen = std::to_array("offscreen");
    std::array<char*, 4> argv{program.data(), platformOption.data(), offscreen.data(), nullptr};
    int argc = std::getenv("QT_QPA_PLATFORM") != nullptr ? 1 : 3;
    // The PDF writer keeps its fonts in a hash; a fixed seed keeps their order, and so
    // the file's bytes, the same from run to run.
    QHashSeed::setDeterministicGlobalSeed();
    std::unique_ptr<QGuiApplication> app;
    if (QGuiApplication::instance() == nullptr)
        app = std::make_unique<QGuiApplication>(argc, argv.data());

    PrintJob job = PrintJobOf(session, PdfTextWidths());
    return WritePdf(job, path, notice, SpecialFiles::WriteThrough);
}

} // namespace dirscribe
