// SPDX-License-Identifier: MIT
#include "gui/dialogs/ListingPropertiesDialog.h"

#include "core/docfile/DocumentBlock.h"
#include "core/format/DateFormat.h"
#include "core/format/SizeFormat.h"
#include "core/format/Utf8.h"
#include "render/QtText.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace dirscribe {

namespace {

QString Size(const VolumeFacts& facts, std::uint64_t bytes) {
    if (!facts.sized)
        return QStringLiteral("not recorded");
    return ToQString(FormatSize(bytes, 0, false)).trimmed() +
           QStringLiteral(" (%L1 bytes)").arg(static_cast<qulonglong>(bytes));
}

QString Recorded(const std::string& text) {
    return text.empty() ? QStringLiteral("not recorded") : ToQString(DisplayText(text));
}

QLabel* Fact(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

ListingPropertiesDialog::ListingPropertiesDialog(const std::string& folder, int entries,
                                                 const ListingVolume& volume, QWidget* parent)
    : QDialog(parent), m_label(new QLineEdit(ToQString(volume.facts.label), this)),
      m_note(new QPlainTextEdit(ToQString(volume.note), this)) {
    setWindowTitle(QStringLiteral("Listing Properties"));
    m_label->setObjectName(QStringLiteral("label"));
    m_label->setMaxLength(255);
    m_note->setObjectName(QStringLiteral("note"));
    m_note->setPlaceholderText(QStringLiteral("Where the disk is kept, what it is for..."));
    m_note->setTabChangesFocus(true);
    const VolumeFacts& facts = volume.facts;
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Folder:"), Fact(ToQString(DisplayText(folder)), this));
    form->addRow(QStringLiteral("Entries:"), Fact(QStringLiteral("%L1").arg(entries), this));
    form->addRow(QStringLiteral("Listed on:"),
                 Fact(volume.listed == 0 ? QStringLiteral("not recorded")
                                         : ToQString(FormatIsoLocal(volume.listed)),
                      this));
    form->addRow(QStringLiteral("Mount point:"), Fact(Recorded(facts.mountPoint), this));
    auto* labelCaption = new QLabel(QStringLiteral("&Label:"), this);
    labelCaption->setBuddy(m_label);
    form->addRow(labelCaption, m_label);
    form->addRow(QStringLiteral("UUID:"), Fact(Recorded(facts.uuid), this));
    form->addRow(QStringLiteral("File system:"), Fact(Recorded(facts.fileSystem), this));
    form->addRow(QStringLiteral("Capacity:"), Fact(Size(facts, facts.capacity), this));
    form->addRow(QStringLiteral("Free:"), Fact(Size(facts, facts.free), this));
    auto* noteCaption = new QLabel(QStringLiteral("&Note:"), this);
    noteCaption->setBuddy(m_note);
    form->addRow(noteCaption, m_note);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

std::string ListingPropertiesDialog::Label() const {
    return m_label->text().toStdString();
}

std::string ListingPropertiesDialog::Note() const {
    std::string note = m_note->toPlainText().toStdString();
    // A document holds a note of so many bytes; more is cut where a character begins.
    if (note.size() > kMaxVolumeText) {
        std::size_t end = kMaxVolumeText;
        while (end > 0 && (static_cast<unsigned char>(note[end]) & 0xC0) == 0x80)
            --end;
        note.resize(end);
    }
    return note;
}

} // namespace dirscribe
