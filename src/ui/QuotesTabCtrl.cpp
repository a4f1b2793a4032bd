#include "ui/QuotesTabCtrl.h"

#include "game/Game.h"

#include <QListWidget>

namespace pelorin {

QuotesTab1::QuotesTab1(QWidget* parent) : ListPage(parent)
{
    List()->setObjectName(QStringLiteral("QuotesList"));
}

void QuotesTab1::Fill(const Entry* entry)
{
    std::vector<std::string_view> texts;
    if (entry) {
        for (const Quote* quote : entry->quotes)
            texts.push_back(TextOf(quote->text));
    }
    SetNumberedLines(texts);
}

QuotesTab2::QuotesTab2(QWidget* parent) : ListPage(parent)
{
    List()->setObjectName(QStringLiteral("DefinitionsList"));
}

void QuotesTab2::Fill(const Entry* entry)
{
    std::vector<std::string_view> texts;
    if (entry) {
        for (const Definition* definition : entry->definitions)
            texts.push_back(TextOf(definition->text));
    }
    SetNumberedLines(texts);
}

QuotesTabCtrl::QuotesTabCtrl(QWidget* parent)
    : QTabWidget(parent), quotes_(new QuotesTab1(this)), definitions_(new QuotesTab2(this))
{
    addTab(quotes_, QStringLiteral("Quotes"));
    addTab(definitions_, QStringLiteral("Alternative Definitions"));
}

void QuotesTabCtrl::Fill(const Entry* entry)
{
    quotes_->Fill(entry);
    definitions_->Fill(entry);
}

} // namespace pelorin
