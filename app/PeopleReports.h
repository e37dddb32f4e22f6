// The reports over the people of the parties, which the reports window prints through its
// table sheet (reports/TableSheet.h): the figures come from guests/, a floor beside reports/.
#pragma once

#include "reports/CardSheet.h"
#include "reports/TableSheet.h"

namespace store {
class Database;
}

namespace app {

// The catering summary (guests::cateringOf) with the dietary needs by table beneath it.
reports::TableSheet cateringSheet(store::Database& db);

// The place cards (or escort cards) of the wedding as the card sheets print them.
reports::CardList cardList(store::Database& db, bool escort);

// Makes the reports window's catering tab print cateringSheet of the open wedding, and its
// place cards tab the cardList.
void registerPeopleReports();

}  // namespace app
