// SPDX-License-Identifier: MIT
// Find and Find Next in the listing on show.
#pragma once

#include <QObject>
#include <QString>
#include <vector>

class QAbstractItemModel;

namespace dirscribe {

class ListingTable;

// Finds the rows of the listing that match a text, by the rules of a search of saved
// listings: a shell pattern on names, or a plain text in names and comments. The matching
// rows are found once per text and again whenever the rows change.
class ListingFind final : public QObject {
    Q_OBJECT

public:
    // `model` shows `table`; its signals say when the rows change.
    ListingFind(const ListingTable& table, const QAbstractItemModel& model,
                QObject* parent = nullptr);

    [[nodiscard]] const QString& Text() const { return m_text; }
    void SetText(const QString& text);

    struct Found {
        int row = -1; // -1: none
        QString status;
    };
    // A new Find: the first match at `row` or below it, else the first one above (the search
    // goes on from the top), and what the status bar says: which match it is, or that none
    // matches.
    Found From(int row);
    // Find Next: the first match below `row` (-1: from the top), and what the status bar
    // says: which match it is, or that nothing (more) matches. After "no more", the next
    // call starts from the top again.
    Found Next(int row);

private:
    void Forget() { m_found = false; }
    // The matching rows of the text, found again when the rows have changed.
    const std::vector<int>& Rows();
    [[nodiscard]] Found At(std::vector<int>::const_iterator match) const;

    const ListingTable& m_table;
    QString m_text;
    std::vector<int> m_rows; // the matching rows, while m_found
    bool m_found = false;
    bool m_passedEnd = false;
};

} // namespace dirscribe
