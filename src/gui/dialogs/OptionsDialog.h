// SPDX-License-Identifier: MIT
// The "Advanced options" dialog: font, date format, custom depth, content and print flags.
#pragma once

#include "core/options/AdvancedOptions.h"
#include "core/options/ListingOptions.h"
#include "core/platform/Notice.h"
#include "gui/dialogs/FontComboBox.h"

#include <QDialog>
#include <QString>
#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace dirscribe {

// Modal dialog with an OK button only; Escape and the close box cancel. Use:
//   OptionsDialog dialog(notice, window);
//   dialog.LoadFrom(options);
//   if (dialog.exec() == QDialog::Accepted && dialog.ApplyTo(options)) { update custom item }
// The controls show `values` each time the dialog is shown; OK validates the custom depth
// (a whole number 0 to 1000: otherwise `notice` says so, the field gets the focus and the
// dialog stays open) and only then copies every control into `values`. Cancel leaves
// `values` as they were. Controls carry object names: "fontCombo", "dateCombo",
// "customDepth", "largeFont", "printTitle", "summary", "numberFileLines", "allInUpperCase",
// "addSizeInBytes", "doNotDrawGrid", "filesAndFolders0".."filesAndFolders2",
// "numberStdLines", "numberCdLines", "okButton".
class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    // `notice` shows the validation message and must outlive the dialog. `installedFamilies`
    // feeds the font list (empty: the system's font database).
    explicit OptionsDialog(Notice& notice, QWidget* parent = nullptr,
                           FontComboBox::FamilySource installedFamilies = {});

    // What the dialog shows and, after OK, what the user chose. `fontName` changes only when
    // the user picks a face from the list; a typed date text gives `dateFormat` -1.
    AdvancedOptions values;

    // values = the settings' current state.
    void LoadFrom(const ListingOptions& options);
    // Stores `values` into the settings by the rules of ApplyAdvancedOptions; true when the
    // custom depth changed. Call it only after the dialog was accepted.
    bool ApplyTo(ListingOptions& options) const;

    // Validates and takes the controls' values; stays open on a bad custom depth.
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowValues();
    void MakeRoomForTheLeftColumn();
    [[nodiscard]] int DateFormatIndex() const;

    Notice& m_notice;
    QString m_pickedFont; // the face the user picked since the dialog was shown
    // Child widgets, owned by the dialog through Qt's parent links.
    FontComboBox* m_fontCombo = nullptr;
    QComboBox* m_dateCombo = nullptr;
    QLineEdit* m_customDepth = nullptr;
    QCheckBox* m_largeFont = nullptr;
    QCheckBox* m_printTitle = nullptr;
    QCheckBox* m_summary = nullptr;
    QCheckBox* m_numberFileLines = nullptr;
    QCheckBox* m_allInUpperCase = nullptr;
    QCheckBox* m_addSizeInBytes = nullptr;
    QCheckBox* m_doNotDrawGrid = nullptr;
    QButtonGroup* m_content = nullptr;
    QCheckBox* m_numberStdLines = nullptr;
    QCheckBox* m_numberCdLines = nullptr;
    QPushButton* m_ok = nullptr;
};

} // namespace dirscribe
