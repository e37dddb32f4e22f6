// The floor plan on paper: the plan scaled onto one landscape page, and the escort-card
// list (every seated party alphabetically with its table, in large type) for the
// reception entrance. Both print or go to a PDF file.
#pragma once

#include <QString>

class QPagedPaintDevice;
class QWidget;

namespace seating {

class FloorPlanScene;
struct FloorState;

// Draws the plan on one page of the device (set to landscape by the caller).
void paintFloorPlan(QPagedPaintDevice& device, FloorPlanScene& scene);
// Draws the escort-card list, as many pages as it needs.
void paintEscortCards(QPagedPaintDevice& device, const FloorState& state);

// Both write the PDF under a temporary name and rename it when complete; a path that is the
// wedding file or one of its backups is refused. false (with the reason in *why) on failure.
bool writeFloorPlanPdf(FloorPlanScene& scene, const QString& path, QString* why = nullptr);
bool writeEscortCardsPdf(const FloorState& state, const QString& path, QString* why = nullptr);

// Asks what to print (plan or escort cards, printer or PDF) and does it.
void printFloorPlan(FloorPlanScene& scene, QWidget* parent);

}  // namespace seating
