// SPDX-License-Identifier: MIT
#include "gui/app/DuplicatesDialog.h"

#include "core/format/SizeFormat.h"
#include "core/format/Utf8.h"
#include "gui/app/WorkingProgress.h"
#include "render/QtText.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QThread>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <new>

namespace dirscribe {

namespace {

// Where a copy's document and row are kept on its item.
constexpr int kDocumentRole = Qt::UserRole;
constexpr int kRowRole = Qt::UserRole + 1;

QString SizeText(std::uint64_t bytes) {
    return ToQString(FormatSize(bytes, 0, false)).trimmed();
}

} // namespace

DuplicatesDialog::DuplicatesDialog(Notice& notice, const QString& folder, QWidget* parent)
    : QDialog(parent), m_notice(notice), m_folder(new QLineEdit(folder, this)),
      m_key(new QComboBox(this)), m_groups(new QTreeWidget(this)),
      m_find(new QPushButton(QStringLiteral("&Find"), this)),
      m_stopButton(new QPushButton(QStringLiteral("S&top"), this)),
      m_open(new QPushButton(QStringLiteral("&Open"), this)), m_status(new QStatusBar(this)),
      m_progress(std::make_unique<WorkingProgress>(*m_status)) {
    setWindowTitle(QStringLiteral("Duplicates in Saved Listings"));
    m_key->addItem(QStringLiteral("Name and size"), static_cast<int>(CopyKey::NameAndSize));
    m_key->addItem(QStringLiteral("Name, size and date"),
                   static_cast<int>(CopyKey::NameSizeAndDate));
    m_key->addItem(QStringLiteral("Size alone"), static_cast<int>(CopyKey::Size));
    auto* browse = new QPushButton(QStringLiteral("&Browse..."), this);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    for (QPushButton* button : {m_find, m_stopButton, m_open, browse, close})
        button->setAutoDefault(false);
    m_folder->setObjectName(QStringLiteral("folder"));
    m_key->setObjectName(QStringLiteral("key"));
    m_status->setObjectName(QStringLiteral("status"));
    m_groups->setObjectName(QStringLiteral("groups"));
    m_groups->setHeaderLabels(
        {QStringLiteral("Copies"), QStringLiteral("Row"), QStringLiteral("Path")});
    m_groups->setUniformRowHeights(true);
    m_groups->header()->setStretchLastSection(true);

    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(m_folder, 1);
    folderRow->addWidget(browse);
    auto* form = new QFormLayout;
    auto* folderLabel = new QLabel(QStringLiteral("In the listings saved &in:"), this);
    folderLabel->setBuddy(m_folder);
    form->addRow(folderLabel, folderRow);
    auto* keyLabel = new QLabel(QStringLiteral("Copies &share:"), this);
    keyLabel->setBuddy(m_key);
    form->addRow(keyLabel, m_key);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_find);
    buttons->addWidget(m_stopButton);
    buttons->addStretch();
    buttons->addWidget(m_open);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_groups, 1);
    layout->addLayout(buttons);
    layout->addWidget(m_status);
    resize(720, 440);

    connect(m_folder, &QLineEdit::returnPressed, this, &DuplicatesDialog::Find);
    connect(m_folder, &QLineEdit::textChanged, this, &DuplicatesDialog::UpdateButtons);
    connect(m_find, &QPushButton::clicked, this, &DuplicatesDialog::Find);
    connect(m_stopButton, &QPushButton::clicked, this, &DuplicatesDialog::Stop);
    connect(m_open, &QPushButton::clicked, this, &DuplicatesDialog::OpenCurrent);
    connect(browse, &QPushButton::clicked, this, &DuplicatesDialog::ChooseFolder);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_groups, &QTreeWidget::itemActivated, this, &DuplicatesDialog::OpenCurrent);
    connect(m_groups, &QTreeWidget::currentItemChanged, this, &DuplicatesDialog::UpdateButtons);
    connect(this, &QDialog::finished, this, &DuplicatesDialog::Stop);
    UpdateButtons();
}

DuplicatesDialog::~DuplicatesDialog() {
    if (!m_searcher)
        return;
    m_stop.Request();
    m_searcher->wait();
}

void DuplicatesDialog::Find() {
    const QString folder = m_folder->text().trimmed();
    if (Searching() || folder.isEmpty())
        return;
    m_groups->clear();
    m_found.clear();
    m_groupCount = 0;
    m_stop.Clear();
    emit Searched(folder);
    const auto key = static_cast<CopyKey>(m_key->currentData().toInt());
    m_searcher.reset(QThread::create([this, key, path = folder.toStdString()] {
        try {
            m_groupCount = FindDuplicates(
                {path}, key, true, m_problems, m_remarks, *m_progress,
                [this](const CopyGroup& group) {
                    if (m_found.size() < kMostShown)
                        m_found.push_back(group);
                },
                &m_stop);
        } catch (const std::bad_alloc&) {
            m_problems.Show(kCaption, kNotEnoughMemory, NoticeIcon::Stop);
        }
    }));
    connect(m_searcher.get(), &QThread::finished, this, &DuplicatesDialog::FinishSearch);
    UpdateButtons();
    m_searcher->start();
}

void DuplicatesDialog::FinishSearch() {
    m_searcher->wait();
    m_searcher.reset();
    m_progress->End();
    ShowGroups();
    QString status = Summary();
    if (const std::string remark = m_remarks.Take(); !remark.empty())
        status += QStringLiteral(" (") + ToQString(DisplayText(remark)) + ')';
    m_status->showMessage(status);
    UpdateButtons();
    const std::string problems = m_problems.Lines().TakeMessage(
        "document or folder", "documents or folders", " could not be searched:");
    if (!problems.empty())
        m_notice.Show(kCaption, problems, NoticeIcon::Warning);
    emit SearchEnded();
}

void DuplicatesDialog::ShowGroups() {
    std::string folder = m_folder->text().trimmed().toStdString();
    if (!folder.ends_with('/'))
        folder += '/';
    QList<QTreeWidgetItem*> items;
    for (const CopyGroup& group : m_found) {
        auto* top = new QTreeWidgetItem(
            {QStringLiteral("%1 x %2: %3")
                 .arg(group.copies.size())
                 .arg(SizeText(group.bytes), ToQString(DisplayText(group.copies.front().name))),
             QString(), QStringLiteral("%1 stored again").arg(SizeText(group.BytesStoredAgain()))});
        for (const FileCopy& copy : group.copies) {
            std::string_view document = copy.document;
            if (document.starts_with(folder))
                document.remove_prefix(folder.size());
            auto* child = new QTreeWidgetItem(top, {ToQString(DisplayText(document)),
                                                    QString::number(copy.row + 1),
                                                    ToQString(DisplayText(copy.path))});
            child->setData(0, kDocumentRole, QString::fromStdString(copy.document));
            child->setData(0, kRowRole, copy.row);
        }
        items.push_back(top);
    }
    m_groups->addTopLevelItems(items);
    m_groups->resizeColumnToContents(0);
    m_groups->resizeColumnToContents(1);
    m_found.clear();
}

QString DuplicatesDialog::Summary() const {
    QString groups = QStringLiteral("%1 file%2 stored more than once")
                         .arg(m_groupCount)
                         .arg(m_groupCount == 1 ? "" : "s");
    if (m_stop.Requested())
        return QStringLiteral("Stopped");
    if (m_groupCount == 0)
        return QStringLiteral("No file is stored more than once");
    if (m_groupCount > kMostShown)
        return groups + QStringLiteral("; the first %1 are shown").arg(kMostShown);
    return groups;
}

void DuplicatesDialog::OpenCurrent() {
    const QTreeWidgetItem* item = m_groups->currentItem();
    if (item == nullptr || !item->data(0, kDocumentRole).isValid())
        return;
    emit OpenRequested(item->data(0, kDocumentRole).toString(), item->data(0, kRowRole).toInt());
}

void DuplicatesDialog::ChooseFolder() {
    auto* dialog =
        new QFileDialog(this, QStringLiteral("Folder of Saved Listings"), m_folder->text());
    dialog->setObjectName(QStringLiteral("folderDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    connect(dialog, &QFileDialog::fileSelected, m_folder, &QLineEdit::setText);
    dialog->open();
}

void DuplicatesDialog::UpdateButtons() {
    const bool searching = Searching();
    m_find->setEnabled(!searching && !m_folder->text().trimmed().isEmpty());
    m_stopButton->setEnabled(searching);
    const QTreeWidgetItem* item = m_groups->currentItem();
    m_open->setEnabled(item != nullptr && item->data(0, kDocumentRole).isValid());
}

} // namespace dirscribe
