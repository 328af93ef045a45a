#pragma once
#include <QTreeWidget>

#include <string>

namespace pictor {
class TSiteDocument;
}

// The pages of the open site beside the file tabs: each page's path below the site's folder, its
// encoding, its colour occurrences and pictures (its sheets' with its own); a page that could not be
// read is marked and says why.
class TPageList : public QTreeWidget {
    Q_OBJECT
public:
    explicit TPageList(QWidget* parent = nullptr);
    // One row a page of site, in its order; folder: the site's, with a trailing "/".
    void ShowPages(const pictor::TSiteDocument& site, const std::string& folder);
    // The page of the chosen row: an index into the site's pages; -1 for none.
    int ChosenPage() const;
    // Chooses the row of that page without telling.
    void ChoosePage(int page);

signals:
    // A loaded page was chosen.
    void pageChosen(int page);
};
