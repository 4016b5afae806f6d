// SPDX-License-Identifier: MIT
// One window: the program started again with a document, as a file manager does on a double
// click, hands it to the window already open and ends; the window asks before a changed
// listing is replaced. Through a session bus of the test's own, and through the local socket
// of a session without one.
#include "gui/app/OneWindow.h"

#include "WindowTest.h"

#include <QDBusConnection>
#include <QMessageBox>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

namespace dirscribe {
namespace {

class OneWindowTest : public test::WindowTest {
protected:
    OneWindowTest() {
        folder.File("disk/a.txt", "1");
        folder.Folder("run");
        folder.Chmod("run", 0700);
    }
    // A window with a changed listing that hands whatever it is given to OpenHandedOver, and
    // a saved listing to give it.
    std::unique_ptr<MainWindow> Serve(OneWindow& one) {
        auto window = Open();
        QObject::connect(&one, &OneWindow::OpenRequested, window.get(),
                         &MainWindow::OpenHandedOver);
        EXPECT_TRUE(List(*window, "disk"));
        EXPECT_TRUE(window->SaveDocument(QString::fromStdString(document)));
        EXPECT_TRUE(session->SetCellText(0, 0, "typed"));
        window->SetSaveQuestion([this](const QString& text) {
            asked << text;
            return QMessageBox::No;
        });
        return window;
    }
    // Starts the program again with the document, the test's runtime folder and `bus`, and
    // lets the window answer until it has ended; its exit status.
    int StartAgain(const QString& bus) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus);
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"),
                           QString::fromStdString(folder.Path("run")));
        environment.insert(QStringLiteral("DIRSCRIBE_PROFILE"),
                           QString::fromStdString(folder.Path("second.ini")));
        QProcess start;
        start.setProcessEnvironment(environment);
        start.start(QStringLiteral(DIRSCRIBE_BINARY), {QString::fromStdString(document)});
        EXPECT_TRUE(QTest::qWaitFor([&] { return start.state() == QProcess::NotRunning; }, 30000));
        EXPECT_EQ(start.readAllStandardError().toStdString(), "");
        return start.exitStatus() == QProcess::NormalExit ? start.exitCode() : -1;
    }
    // The document was opened in the window, after the question.
    void ExpectOpened(const MainWindow& window) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !asked.isEmpty(); }, 10000));
        EXPECT_EQ(asked, QStringList{"Save changes to disk.dsc?"});
        EXPECT_EQ(window.windowFilePath().toStdString(), document);
        EXPECT_EQ(session->Listing().table.Cell(0, 0), "a.txt");
    }

    std::string document = folder.Path("disk.dsc");
    QStringList asked;
};

TEST_F(OneWindowTest, ASecondStartHandsItsDocumentOverTheSessionBus) {
    QProcess daemon;
    daemon.start(QStringLiteral("dbus-daemon"),
                 {QStringLiteral("--session"), QStringLiteral("--nofork"),
                  QStringLiteral("--print-address=1")});
    if (!daemon.waitForStarted())
        GTEST_SKIP() << "dbus-daemon is missing";
    ASSERT_TRUE(daemon.waitForReadyRead(10000));
    const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
    {
        const QDBusConnection bus = QDBusConnection::connectToBus(address, QStringLiteral("test"));
        ASSERT_TRUE(bus.isConnected());
        OneWindow one(bus, QString::fromLatin1(OneWindow::kDesktopId), {});
        ASSERT_TRUE(one.Claim());
        EXPECT_FALSE(OneWindow(bus, QString::fromLatin1(OneWindow::kDesktopId), {}).Claim());
        const auto window = Serve(one);
        EXPECT_EQ(StartAgain(address), 0);
        ExpectOpened(*window);
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("test"));
    daemon.terminate();
    daemon.waitForFinished();
}

TEST_F(OneWindowTest, WithoutASessionBusTheRuntimeFoldersSocketTakesIt) {
    const QString noBus =
        QStringLiteral("unix:path=") + QString::fromStdString(folder.Path("none"));
    const QDBusConnection disconnected =
        QDBusConnection::connectToBus(noBus, QStringLiteral("none"));
    ASSERT_FALSE(disconnected.isConnected());
    OneWindow one(disconnected, QString::fromLatin1(OneWindow::kDesktopId),
                  OneWindow::SocketIn(QString::fromStdString(folder.Path("run"))));
    ASSERT_TRUE(one.Claim());
    const auto window = Serve(one);
    EXPECT_EQ(StartAgain(noBus), 0);
    ExpectOpened(*window);
}

} // namespace
} // namespace dirscribe
