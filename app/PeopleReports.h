// The reports over the people of the parties, which the reports window prints through its
// table sheet (reports/TableSheet.h): the figures come from guests/, a floor beside reports/.
#pragma once

#include "reports/TableSheet.h"

namespace store {
class Database;
}

namespace app {

// The catering summary (guests::cateringOf) with the dietary needs by table beneath it.
reports::TableSheet cateringSheet(store::Database& db);

// Makes the reports window's catering tab print cateringSheet of the open wedding.
void registerPeopleReports();

}  // namespace app
