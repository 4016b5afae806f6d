// SPDX-License-Identifier: MIT
// The matches of a search of saved listings, as a table for a view.
#pragma once

#include "core/search/ListingSearch.h"

#include <QAbstractTableModel>
#include <string>
#include <vector>

namespace dirscribe {

// One match: the document it is in and its row; or, with a problem, a document or folder
// that could not be searched and why.
struct SavedMatch {
    std::string document;
    SearchHit hit;
    std::string problem = {};
};

// Columns: the document (named from the folder searched when it lies below it), the row
// from 1, then the name, size, date and comment as the search gives them. A problem's row
// holds its text in the first column.
class SearchResultsModel final : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Forgets every match; documents are named from `folder` on.
    void Clear(std::string folder);
    void Append(std::vector<SavedMatch> matches);
    [[nodiscard]] const SavedMatch& At(int row) const {
        return m_matches[static_cast<std::size_t>(row)];
    }

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index,
                                int role = Qt::DisplayRole) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role = Qt::DisplayRole) const override;

private:
    std::string m_folder;
    std::vector<SavedMatch> m_matches;
};

} // namespace dirscribe
