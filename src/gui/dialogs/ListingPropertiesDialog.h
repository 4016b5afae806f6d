// SPDX-License-Identifier: MIT
// What a listing records of the volume it was read from, with its label and note to edit.
#pragma once

#include "core/listing/ListingVolume.h"

#include <QDialog>
#include <string>

class QLineEdit;
class QPlainTextEdit;

namespace dirscribe {

// The folder listed, how many entries, and the volume as it was when the listing was read:
// mount point, UUID, file system, capacity, free space and the date, read-only; the label
// ("label") and the note ("note") may be changed. OK keeps them, Cancel and Escape do not.
class ListingPropertiesDialog final : public QDialog {
    Q_OBJECT

public:
    ListingPropertiesDialog(const std::string& folder, int entries, const ListingVolume& volume,
                            QWidget* parent = nullptr);

    // The label and the note as they stand in the dialog, UTF-8.
    [[nodiscard]] std::string Label() const;
    [[nodiscard]] std::string Note() const;

private:
    QLineEdit* m_label;
    QPlainTextEdit* m_note;
};

} // namespace dirscribe
