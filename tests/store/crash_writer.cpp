// A writer for the crash test: commits numbered changes through the store until it is
// killed, and reports each number on stdout only after its commit has returned.
//
// Usage: store_crash_writer DATABASE
// Each transaction adds one guest whose Invited is the next number, changes the previous
// guest and moves a counter row in Tables, so a half-written transaction would show as a
// gap, a duplicate or a counter out of step.
#include "store/Store.h"

#include <QCoreApplication>

#include <unistd.h>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: store_crash_writer DATABASE\n");
        return 2;
    }
    try {
        auto& ws = store::Workspace::defaultWorkspace();
        store::Database& db = ws.openDatabase(QString::fromLocal8Bit(argv[1]));
        auto guests = db.openRecordset("Guests");
        auto counter = db.openRecordset("Tables");
        qint64 next = 1;
        if (guests->recordCount() > 0) {
            guests->moveLast();
            next = guests->value("Invited").toLongLong() + 1;
        }
        for (;; ++next) {
            ws.beginTrans();
            if (guests->recordCount() > 0) {
                guests->moveLast();
                guests->edit();
                guests->setValue("Address", QStringLiteral("followed by %1").arg(next));
                guests->update();
            }
            guests->addNew();
            guests->setValue("LastName", QStringLiteral("Writer"));
            guests->setValue("FirstName", QString::number(next));
            guests->setValue("Invited", next);
            guests->setValue("EngageGift", QString(int(next % 7) * 36, QChar('n')));  // rows of varying size
            guests->update();
            counter->moveFirst();
            counter->edit();
            counter->setValue("assigned", next);
            counter->update();
            ws.commitTrans();
            char line[32];
            const int n = std::snprintf(line, sizeof line, "%lld\n", static_cast<long long>(next));
            if (::write(1, line, size_t(n)) != n)
                return 1;
        }
    } catch (const store::StoreError& e) {
        std::fprintf(stderr, "store error %d: %s\n", e.number(), e.description().toLocal8Bit().constData());
        return 1;
    }
}
