#pragma once

#include "ui/ListPage.h"

#include <QTabWidget>

namespace pelorin {

class Entry;

/// The quotations of the selected entry: sentences of the style's books that hold
/// the answer, the answer blanked out.
class QuotesTab1 final : public ListPage {
public:
    explicit QuotesTab1(QWidget* parent);
    /// Lists the entry's quotes, numbered from 1; empty without an entry.
    void Fill(const Entry* entry);
};

/// Every definition kept for the selected entry, the clue first.
class QuotesTab2 final : public ListPage {
public:
    explicit QuotesTab2(QWidget* parent);
    /// Lists the entry's definitions, numbered from 1; empty without an entry.
    void Fill(const Entry* entry);
};

/// The "Quotes" and "Alternative Definitions" tabs. Choosing a line does nothing.
class QuotesTabCtrl final : public QTabWidget {
public:
    explicit QuotesTabCtrl(QWidget* parent);

    /// Refills both pages for the selected entry (or none).
    void Fill(const Entry* entry);

private:
    QuotesTab1* quotes_;
    QuotesTab2* definitions_;
};

} // namespace pelorin
