// The floor plan's automatic seating: the question before a plan is sought, the plan
// shown highlighted with its summary, applying it, and putting the seating back.
#include "seating/frmFloorPlan.h"

#include "controls/Dialogs.h"
#include "seating/FloorPlanPrint.h"
#include "seating/FloorPlanView.h"
#include "seating/frmSeatingRules.h"
#include "shell/ErrorMessage.h"
#include "shell/OpenWindow.h"
#include "shell/Program.h"
#include "store/Store.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace seating;

namespace {

QString summaryOf(const SeatProblem& problem, const SeatPlan& plan)
{
    int seatedParties = 0;
    for (const Placement& move : plan.moves)
        seatedParties += move.toTable != 0;
    QStringList lines;
    if (plan.moves.empty() && plan.leftOver.empty()) {
        lines << QStringLiteral(
            "Everyone invited to the reception already has a seat; there is nothing to change.");
    } else {
        const QString quality = plan.simple
                                    ? QStringLiteral("the simple seating (largest parties first), since %1")
                                          .arg(plan.whySimple.toHtmlEscaped())
                                : plan.provenBest ? QStringLiteral("the best plan under your rules")
                                                  : QStringLiteral(
                                                        "the best plan found in %1 seconds (it may be up to "
                                                        "%2% better)")
                                                        .arg(problem.timeLimitSeconds)
                                                        .arg(qMax(0.1, plan.gap() * 100), 0, 'f', 1);
        lines << QStringLiteral("<b>Proposed plan</b>: %1 parties (%2 people) seated; %3.")
                     .arg(seatedParties)
                     .arg(plan.peopleSeated)
                     .arg(quality);
    }
    int kept = 0, hard = 0;
    QStringList broken, notApplied, preferences;
    for (const RuleOutcome& rule : plan.rules) {
        if (rule.ruleId == 0) {
            preferences << rule.text.toHtmlEscaped();
            continue;
        }
        ++hard;
        kept += rule.kept;
        if (!rule.applied)
            notApplied << rule.text.toHtmlEscaped();
        else if (!rule.kept)
            broken << rule.text.toHtmlEscaped();
    }
    if (hard)
        lines << QStringLiteral("Rules kept: %1 of %2.").arg(kept).arg(hard) +
                     (broken.isEmpty() ? QString()
                                       : QStringLiteral(" Not kept: ") + broken.join(QStringLiteral("; "))) +
                     (notApplied.isEmpty() ? QString()
                                           : QStringLiteral(" Not applied, as some of their parties have no "
                                                            "seat: ") +
                                                 notApplied.join(QStringLiteral("; ")));
    if (!preferences.isEmpty())
        lines << preferences.join(QStringLiteral(". ")) + QLatin1Char('.');
    if (!plan.leftOver.empty()) {
        lines << QStringLiteral("<b>%1 parties could not be seated:</b>").arg(plan.leftOver.size());
        for (const QString& why : plan.explanations)
            lines << QStringLiteral("&bull; ") + why.toHtmlEscaped();
    } else {
        for (const QString& why : plan.explanations)
            lines << QStringLiteral("&bull; ") + why.toHtmlEscaped();
    }
    return lines.join(QStringLiteral("<br>"));
}

}  // namespace

void frmFloorPlan::askSeatEveryone()
{
    QDialog ask(this);
    ask.setObjectName(QStringLiteral("frmSeatEveryone"));
    ask.setWindowTitle(QStringLiteral("Seat Everyone"));
    auto* layout = new QVBoxLayout(&ask);
    auto* onlyNew = new QRadioButton(QStringLiteral("Seat the guests who have no seat yet"), &ask);
    onlyNew->setObjectName(QStringLiteral("optUnseated"));
    auto* everyone =
        new QRadioButton(QStringLiteral("Re-seat everyone (pinned parties stay where they are)"), &ask);
    everyone->setObjectName(QStringLiteral("optEveryone"));
    onlyNew->setChecked(true);
    auto* seconds = new QDoubleSpinBox(&ask);
    seconds->setObjectName(QStringLiteral("txtSeconds"));
    seconds->setRange(1, 300);
    seconds->setDecimals(0);
    seconds->setValue(10);
    seconds->setSuffix(QStringLiteral(" seconds"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Search for at most"), seconds);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &ask);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Find a Plan"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdFind"));
    layout->addWidget(
        new QLabel(QStringLiteral("Orvane proposes a plan that keeps your rules; you see it on the "
                                  "floor plan before anything changes."),
                   &ask));
    layout->addWidget(onlyNew);
    layout->addWidget(everyone);
    layout->addLayout(form);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, &ask, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &ask, &QDialog::reject);
    if (controls::ShowModal(&ask) != QDialog::Accepted)
        return;
    proposePlan(everyone->isChecked(), seconds->value());
}

void frmFloorPlan::proposePlan(bool reseatEveryone, double timeLimitSeconds)
{
    discardPlan();
    try {
        Proposal proposal;
        proposal.problem = loadProblem(shell::database(), reseatEveryone);
        proposal.problem.timeLimitSeconds = timeLimitSeconds;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        proposal.plan = solveSeating(proposal.problem);
        QApplication::restoreOverrideCursor();
        std::set<PartyKey> moved;
        for (const Placement& move : proposal.plan.moves)
            if (move.toTable != 0)
                moved.insert(move.party);
        scene_->show(previewState(loadFloorState(shell::database()), proposal.problem, proposal.plan), moved);
        lblPlan->setText(summaryOf(proposal.problem, proposal.plan));
        cmdApply->setEnabled(!proposal.plan.moves.empty());
        fraPlan->show();
        proposal_ = std::move(proposal);
    } catch (const store::StoreError& e) {
        shell::showError(e, this);
    }
}

void frmFloorPlan::applyPlan()
{
    if (!proposal_)
        return;
    try {
        undo_ = seating::applyPlanKept(shell::database(), proposal_->problem, proposal_->plan).before;
        cmdUndo->setEnabled(true);
    } catch (const store::StoreError& e) {
        shell::showError(e, QStringLiteral("The plan was not applied; the seating is as it was."), this);
    }
    proposal_.reset();
    fraPlan->hide();
    reload();
}

void frmFloorPlan::discardPlan()
{
    if (!proposal_)
        return;
    proposal_.reset();
    fraPlan->hide();
    reload();
}

void frmFloorPlan::undoSeating()
{
    if (undo_.empty())
        return;
    try {
        restoreSnapshot(shell::database(), undo_);
        undo_ = {};
        cmdUndo->setEnabled(false);
    } catch (const store::StoreError& e) {
        shell::showError(e, this);
    }
    reload();
}

void frmFloorPlan::openRules()
{
    discardPlan();
    frmSeatingRules rules(this);
    if (!shell::loadAndShowModal(rules, this))
        return;
    reload();
}

void frmFloorPlan::print()
{
    printFloorPlan(*scene_, this);
}
