// The list of the Problems dock: one row per problem of the open ship, "line: text". Double-click
// asks for the window that holds the entry; a row with a did-you-mean suggestion offers "Apply
// suggestion" on its context menu. The view knows no document: it shows what it is given.
#pragma once

#include <QListWidget>

#include <vector>

#include "shipproblems.h"

class ProblemsView : public QListWidget {
    Q_OBJECT
public:
    explicit ProblemsView(QWidget* parent = nullptr);

    void SetProblems(std::vector<ShipProblem> problems);
    const std::vector<ShipProblem>& Problems() const { return problems_; }

    // The text a problem's row shows.
    static QString RowText(const ShipProblem& problem);

signals:
    void openRequested(const ShipProblem& problem);
    void applyRequested(const ShipProblem& problem);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    std::vector<ShipProblem> problems_;
};
