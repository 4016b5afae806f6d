// SPDX-License-Identifier: MIT
// Print, preview and printer setup of the listing, around one printer the run keeps.
#pragma once

#include <QPrinter>
#include <memory>

class QWidget;

namespace dirscribe {

class ListingSession;
class Notice;
class PrintJob;

// Each print or preview takes a new snapshot of the table. An empty listing asks first
// whether to print the title and summary alone. The printer keeps what Print Setup and
// the print dialog chose for the rest of the run.
class ListingPrinter {
public:
    ListingPrinter(ListingSession& session, Notice& notice, QWidget& window);
    ~ListingPrinter();

    // The print dialog, then the pages it chose.
    void Print();
    // The preview window, paging through the whole job.
    void Preview();
    // The page setup dialog.
    void Setup();
    // Prints every page on the named printer (the default one when empty) without a
    // dialog, as a document printed from the file manager is; false after a message when
    // there is no such printer or it failed.
    bool PrintDirect(const QString& printerName);

private:
    // A job over the table as it stands, or null when the user declined an empty listing.
    std::unique_ptr<PrintJob> PrepareJob();
    // After a job: a body font that could not be made turns sizes in bytes off.
    void FinishJob(const PrintJob& job);

    ListingSession& m_session;
    Notice& m_notice;
    QWidget& m_window;
    QPrinter m_printer{QPrinter::HighResolution};
};

} // namespace dirscribe
