// Times the vendor window over 2,000 vendors: opening it until it is shown, stepping to
// the next vendor with the navigator, and picking a vendor in the quick-search list.
// Prints the median and the slowest time of each step and, last, the slowest time of all.
#include "shell/Program.h"
#include "bench/common/BenchTiming.h"
#include "controls/DataList.h"
#include "controls/DataSource.h"
#include "store/Store.h"
#include "vendors/frmVendors.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int Vendors = 2000;
constexpr int Openings = 10;
constexpr int Steps = 60;

// A copy of the delivered database holding Vendors vendors with every field filled.
QString prepareDatabase(const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("wedding.mdb"));
    QFile::copy(QStringLiteral(ORVANE_DELIVERED_DB), path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_exec(
        db,
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) "
        "INSERT INTO Vendors (VendorName, Address1, Address2, City, State, Zip, Contact, Phone, Fax, "
        "Notes, Service) SELECT 'Vendor ' || ((i * 7919) % 2000) || ' & Sons', i || ' Market St', "
        "'Suite ' || (i % 90), 'Springfield', 'IL', '627' || (i % 100), 'Contact ' || i, "
        "'217-555-' || (1000 + i), '217-555-' || (3000 + i), 'Deposit due.' || char(10) || 'Call first.', "
        "'Florists' FROM n",
        nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return path;
}

class PaintWatch : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

struct Figures {
    const char* name;
    std::vector<double> times;
    double median() const { return bench::median(times); }
    double worst() const { return bench::slowest(times); }
};

// Loads and shows a window; returns it with the time until its first paint.
std::unique_ptr<frmVendors> openWindow(double& ms)
{
    QElapsedTimer timer;
    timer.start();
    auto window = std::make_unique<frmVendors>();
    window->Form_Load();  // a wedding that cannot be read ends the benchmark with the error
    PaintWatch watch;
    window->installEventFilter(&watch);
    window->show();
    while (!watch.painted)
        QCoreApplication::processEvents();
    ms = bench::msSince(timer);
    window->removeEventFilter(&watch);
    return window;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    shell::program().DatabasePath = prepareDatabase(dir);
    store::Workspace::defaultWorkspace().openDatabase(shell::program().DatabasePath);

    Figures opening{"opening until shown", {}}, next{"next vendor", {}}, pick{"quick-search pick", {}};
    double ms = 0;
    openWindow(ms);  // warms the caches
    for (int i = 0; i < Openings; ++i) {
        auto window = openWindow(ms);
        opening.times.push_back(ms);
        window->close();
    }

    auto window = openWindow(ms);
    auto* nextButton = window->findChild<QAbstractButton*>(QStringLiteral("Next"));
    for (int i = 0; i < Steps; ++i) {
        QElapsedTimer timer;
        timer.start();
        nextButton->click();
        QCoreApplication::processEvents();
        next.times.push_back(bench::msSince(timer));
    }

    auto* list = window->findChild<controls::DataList*>(QStringLiteral("addDBList1"));
    if (list->count() != Vendors)
        return 1;
    for (int i = 0; i < Steps; ++i) {
        const QModelIndex at = list->model()->index(QRandomGenerator::global()->bounded(Vendors), 0);
        list->scrollTo(at);
        QCoreApplication::processEvents();
        const QPoint centre = list->visualRect(at).center();
        QElapsedTimer timer;
        timer.start();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
        QCoreApplication::processEvents();
        pick.times.push_back(bench::msSince(timer));
    }
    window->close();

    double worst = 0;
    for (const Figures* f : {&opening, &next, &pick}) {
        std::printf("%-20s median %6.1f ms, slowest %6.1f ms (%zu runs, %d vendors)\n", f->name, f->median(),
                    f->worst(), f->times.size(), Vendors);
        worst = std::max(worst, f->worst());
    }
    std::printf("worst: %.1f ms\n", worst);
    return 0;
}
