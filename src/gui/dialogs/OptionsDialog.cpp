// SPDX-License-Identifier: MIT
// Builds the options dialog and moves its values in and out of the controls.
#include "gui/dialogs/OptionsDialog.h"

#include "core/format/DateFormat.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <cmath>

namespace dirscribe {
namespace {

// The layout is kept in dialog units (a quarter of the average character width across,
// an eighth of the character height down) and scaled for an 8-point font.
constexpr double kUnitX = 1.5;
constexpr double kUnitY = 1.625;

int ScaleX(int units) {
    return static_cast<int>(std::lround(units * kUnitX));
}
int ScaleY(int units) {
    return static_cast<int>(std::lround(units * kUnitY));
}

// Places a control at its dialog-unit rectangle, grown to what its text needs where the
// font is wider than the one the units were measured in. An edit field keeps its width: its
// natural width is that of a long text, and the label beside it would be covered.
void Place(QWidget* widget, int left, int top, int width, int height) {
    const QSize hint = widget->sizeHint();
    const bool keepWidth = qobject_cast<QLineEdit*>(widget) != nullptr;
    widget->setGeometry(ScaleX(left), ScaleY(top),
                        keepWidth ? ScaleX(width) : std::max(ScaleX(width), hint.width()),
                        std::max(ScaleY(height), hint.height()));
}

// A drop-down combo box: the template's height is that of the open list, so the closed
// box takes its natural height. It is made wide enough to show each of `texts` whole in its
// field, and the label beside it moves along.
void PlaceCombo(QComboBox* combo, const QStringList& texts, int left, int top, int width) {
    int widest = 0;
    for (const QString& text : texts)
        widest = std::max(widest, combo->fontMetrics().horizontalAdvance(text));
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    // The field's own text margins, as QLineEdit keeps them, on both sides.
    constexpr int kFieldMargins = 2 * 4;
    const QSize needed = combo->style()->sizeFromContents(QStyle::CT_ComboBox, &option,
                                                          QSize(widest + kFieldMargins, 0), combo);
    combo->setGeometry(ScaleX(left), ScaleY(top), std::max(ScaleX(width), needed.width()),
                       combo->sizeHint().height());
}

QCheckBox* Check(QWidget* parent, const char* name, const char* text, int left, int top,
                 int width) {
    auto* check = new QCheckBox(QString::fromUtf8(text), parent);
    check->setObjectName(QString::fromLatin1(name));
    Place(check, left, top, width, 10);
    return check;
}

void Label(QWidget* parent, const char* text, int left, int top, int width, int height) {
    Place(new QLabel(QString::fromUtf8(text), parent), left, top, width, height);
}

// A label right of a combo box, at least where the template puts it.
void LabelBeside(const QComboBox* combo, const char* text, int left, int top, int width,
                 int height) {
    auto* label = new QLabel(QString::fromUtf8(text), combo->parentWidget());
    Place(label, left, top, width, height);
    label->move(std::max(label->x(), combo->geometry().right() + ScaleX(4)), label->y());
}

void SetChecked(QCheckBox* check, std::int32_t value) {
    check->setChecked(value != 0);
}
std::int32_t Checked(const QCheckBox* check) {
    return check->isChecked() ? 1 : 0;
}

} // namespace

OptionsDialog::OptionsDialog(Notice& notice, QWidget* parent,
                             FontComboBox::FamilySource installedFamilies)
    : QDialog(parent), m_notice(notice) {
    setWindowTitle(QStringLiteral("Dirscribe: Advanced options"));
    setFixedSize(ScaleX(273), ScaleY(205));

    // Created in the template's order, which is also the tab order; the font list comes
    // first and so has the focus when the dialog opens.
    m_fontCombo = new FontComboBox(this, std::move(installedFamilies));
    m_fontCombo->setObjectName(QStringLiteral("fontCombo"));
    PlaceCombo(m_fontCombo, FontComboBox::OfferedFaces(), 13, 10, 84);
    LabelBeside(m_fontCombo, "Select Font", 101, 11, 57, 9);

    m_dateCombo = new QComboBox(this);
    m_dateCombo->setObjectName(QStringLiteral("dateCombo"));
    m_dateCombo->setEditable(true);
    m_dateCombo->setInsertPolicy(QComboBox::NoInsert);
    m_dateCombo->setCompleter(nullptr); // a typed text stays as typed
    QStringList samples;
    for (int index = 0; index < kDateFormatCount; ++index)
        samples << QString::fromUtf8(DateFormatSample(index));
    m_dateCombo->addItems(samples);
    PlaceCombo(m_dateCombo, samples, 13, 29, 84);
    m_dateCombo->installEventFilter(this);
    LabelBeside(m_dateCombo, "Format Date", 101, 31, 40, 8);

    m_customDepth = new QLineEdit(this);
    m_customDepth->setObjectName(QStringLiteral("customDepth"));
    Place(m_customDepth, 14, 45, 40, 14);
    Label(this, "Cutom Tree Depth", 67, 50, 59, 8);

    m_largeFont = Check(this, "largeFont", "Larger Font", 13, 86, 52);
    m_printTitle = Check(this, "printTitle", "Print Foledr/Disk Title", 13, 99, 84);
    m_summary = Check(this, "summary", "Print Folder/Disk Summary", 13, 112, 99);
    m_numberFileLines = Check(this, "numberFileLines", "File", 13, 125, 27);
    m_allInUpperCase = Check(this, "allInUpperCase", "Upper case ", 13, 138, 76);
    m_addSizeInBytes = Check(this, "addSizeInBytes", "Size in Bytes only", 13, 151, 74);
    m_doNotDrawGrid = Check(this, "doNotDrawGrid", "Removable Media: No grid", 13, 164, 109);

    Place(new QGroupBox(QStringLiteral("Output"), this), 163, 4, 95, 50);
    m_content = new QButtonGroup(this);
    const std::array<std::pair<const char*, int>, 3> radios{
        {{"Directories only", 64}, {"Files only", 45}, {"Both", 31}}};
    for (int index = 0; index < 3; ++index) {
        auto* radio = new QRadioButton(
            QString::fromUtf8(radios[static_cast<std::size_t>(index)].first), this);
        radio->setObjectName(QStringLiteral("filesAndFolders%1").arg(index));
        Place(radio, 167, 15 + 12 * index, radios[static_cast<std::size_t>(index)].second, 10);
        m_content->addButton(radio, index);
    }

    Place(new QGroupBox(QStringLiteral("Print Line Number"), this), 163, 57, 95, 50);
    m_numberStdLines = Check(this, "numberStdLines", "Standard (8  x 11)", 167, 72, 72);
    m_numberCdLines = Check(this, "numberCdLines", "CD/ZIP100/LS-120", 167, 88, 77);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("okButton"));
    m_ok->setDefault(true);
    Place(m_ok, 207, 130, 50, 15);
    connect(m_ok, &QPushButton::clicked, this, &OptionsDialog::accept);
    // Escape and the close box cancel too; a button says so.
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    Place(cancel, 207, 150, 50, 15);
    connect(cancel, &QPushButton::clicked, this, &OptionsDialog::reject);
    MakeRoomForTheLeftColumn();

    // Only the user's pick names a font; filling the list selects without telling.
    connect(m_fontCombo, &QComboBox::textActivated, this,
            [this](const QString& face) { m_pickedFont = face; });
}

// Where the left column grew wider than the template (long names in a wide font), the
// right column moves right and the dialog grows with it.
void OptionsDialog::MakeRoomForTheLeftColumn() {
    const int rightColumn = ScaleX(163);
    int leftEnd = 0;
    for (const QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->x() < rightColumn)
            leftEnd = std::max(leftEnd, child->geometry().right());
    const int shift = std::max(0, leftEnd + ScaleX(6) - rightColumn);
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->x() >= rightColumn)
            child->move(child->x() + shift, child->y());
    setFixedSize(width() + shift, height());
}

void OptionsDialog::LoadFrom(const ListingOptions& options) {
    values = AdvancedOptionsOf(options);
}

bool OptionsDialog::ApplyTo(ListingOptions& options) const {
    return ApplyAdvancedOptions(values, options);
}

void OptionsDialog::showEvent(QShowEvent* event) {
    if (!event->spontaneous())
        ShowValues();
    QDialog::showEvent(event);
}

void OptionsDialog::ShowValues() {
    m_pickedFont.clear();
    m_dateCombo->setCurrentIndex(
        values.dateFormat >= 0 && values.dateFormat < kDateFormatCount ? values.dateFormat : -1);
    m_fontCombo->FillFonts(QString::fromStdString(values.fontName));

    // An exclusive group cannot uncheck its last button; lift that while no choice is set.
    m_content->setExclusive(false);
    for (QAbstractButton* button : m_content->buttons())
        button->setChecked(values.filesAndFolders &&
                           m_content->id(button) == static_cast<int>(*values.filesAndFolders));
    m_content->setExclusive(true);

    SetChecked(m_numberFileLines, values.numberFileLines);
    SetChecked(m_numberStdLines, values.numberStdLines);
    SetChecked(m_numberCdLines, values.numberCdLines);
    SetChecked(m_doNotDrawGrid, values.doNotDrawGrid);
    SetChecked(m_addSizeInBytes, values.addSizeInBytes);
    SetChecked(m_allInUpperCase, values.allInUpperCase);
    SetChecked(m_summary, values.summary);
    SetChecked(m_printTitle, values.printTitle);
    SetChecked(m_largeFont, values.largeFont);
    m_customDepth->setText(QString::number(values.customDepth));
}

int OptionsDialog::DateFormatIndex() const {
    // The list's selection counts only while the edit field still shows that item; a text
    // the user typed over it chooses no format.
    const int index = m_dateCombo->currentIndex();
    return index >= 0 && m_dateCombo->currentText() == m_dateCombo->itemText(index) ? index : -1;
}

void OptionsDialog::accept() {
    const std::optional<std::uint32_t> depth =
        ParseCustomDepth(m_customDepth->text().toStdString());
    if (!depth) {
        m_notice.Show(kCaption,
                      "Please enter a whole number from 0 to 1000 for the custom tree depth.",
                      NoticeIcon::Warning);
        m_customDepth->setFocus(Qt::OtherFocusReason);
        m_customDepth->selectAll();
        return;
    }

    if (!m_pickedFont.isEmpty())
        values.fontName = m_pickedFont.toStdString();
    if (const int checked = m_content->checkedId(); IsListingContent(checked)) // -1: none
        values.filesAndFolders = static_cast<ListingContent>(checked);
    values.numberFileLines = Checked(m_numberFileLines);
    values.numberStdLines = Checked(m_numberStdLines);
    values.numberCdLines = Checked(m_numberCdLines);
    values.doNotDrawGrid = Checked(m_doNotDrawGrid);
    values.addSizeInBytes = Checked(m_addSizeInBytes);
    values.allInUpperCase = Checked(m_allInUpperCase);
    values.dateFormat = DateFormatIndex();
    values.summary = Checked(m_summary);
    values.printTitle = Checked(m_printTitle);
    values.largeFont = Checked(m_largeFont);
    values.customDepth = *depth;
    QDialog::accept();
}

bool OptionsDialog::eventFilter(QObject* watched, QEvent* event) {
    // The date list opens on the down arrow alone, as a list with an edit field should.
    if (watched == m_dateCombo && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Down &&
            (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
            !m_dateCombo->view()->isVisible()) {
            m_dateCombo->showPopup();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace dirscribe
