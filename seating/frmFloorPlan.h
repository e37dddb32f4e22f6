// The floor plan: the reception room with its tables, the parties seated at them and the
// parties still to seat beside it. Parties are dragged onto tables, between tables and off
// them, through the same questions and messages as the seating manager's buttons; tables
// are dragged into place, and a member's seat mark onto another seat of its table. "Seat Everyone..." proposes a plan under the couple's rules,
// shows it highlighted, and applies it on request; "Undo Seating" puts the seating back.
//
//   frmFloorPlan plan(parent);
//   plan.Form_Load();            // throws store::StoreError
//   controls::ShowModal(&plan);
#pragma once

#include "seating/FloorPlanScene.h"
#include "seating/SeatPlanStore.h"

#include <QDialog>

#include <optional>

namespace controls {
class DataSource;
}

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QFrame;

namespace seating {
class FloorPlanView;
class PartyDragList;
}  // namespace seating

class frmFloorPlan : public QDialog {
    Q_OBJECT
public:
    explicit frmFloorPlan(QWidget* parent = nullptr);
    ~frmFloorPlan() override;

    void Form_Load();
    // Reads the file again and redraws the plan and the list.
    void reload();

    // Automatic seating: solve, show the plan highlighted, then apply or discard it.
    void proposePlan(bool reseatEveryone, double timeLimitSeconds);
    void applyPlan();
    void discardPlan();
    void undoSeating();
    bool hasProposal() const { return proposal_.has_value(); }
    const seating::SeatPlan* proposal() const { return proposal_ ? &proposal_->plan : nullptr; }

    seating::FloorPlanScene* scene() const { return scene_; }

    // Controls; objectName = member name.
    seating::FloorPlanView* viewPlan = nullptr;
    seating::PartyDragList* lstUnseated = nullptr;
    QLabel* lblUnseated = nullptr;
    QComboBox* cboSide = nullptr;
    QLineEdit* txtFind = nullptr;
    QPushButton* cmdZoomIn = nullptr;
    QPushButton* cmdZoomOut = nullptr;
    QPushButton* cmdFit = nullptr;
    QPushButton* cmdShape = nullptr;
    QPushButton* cmdPin = nullptr;
    QPushButton* cmdAddTable = nullptr;
    QPushButton* cmdEditTable = nullptr;
    QPushButton* cmdDeleteTable = nullptr;
    QPushButton* cmdSeatEveryone = nullptr;
    QPushButton* cmdUndo = nullptr;
    QPushButton* cmdRules = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdHelp = nullptr;
    QPushButton* cmdClose = nullptr;
    QFrame* fraPlan = nullptr;  // the proposed plan: summary, Apply, Discard
    QLabel* lblPlan = nullptr;
    QPushButton* cmdApply = nullptr;
    QPushButton* cmdDiscard = nullptr;

private:
    void buildControls();
    QWidget* buildToolbar();
    QWidget* buildPlanBar();
    void fillUnseated();
    void partyDroppedFromList(seating::PartyKey party, QPoint globalPosition);
    void partyDroppedInPlan(seating::PartyKey party, seating::TableKey table);
    void tableMoved(seating::TableKey table, QPointF centre);
    void moveSelectedTable(QPointF by);
    void unseatSelectedParty();
    void toggleShape();
    // Tables, through the seating manager's table editor and messages.
    void addTable();
    void editTable();
    void deleteSelectedTable();
    std::optional<seating::TableKey> selectedTable() const;
    controls::DataSource* tablesSource();
    void togglePin();
    void askSeatEveryone();
    void openRules();
    void print();
    // Runs a seating change; a store error is shown in the seating manager's words.
    template <typename Change>
    void change(Change&& run);

    seating::FloorPlanScene* scene_ = nullptr;
    struct Proposal {
        seating::SeatProblem problem;
        seating::SeatPlan plan;
    };
    std::optional<Proposal> proposal_;
    seating::SeatingSnapshot undo_;
    controls::DataSource* datTables_ = nullptr;  // the table editor's source, made when first needed
};
