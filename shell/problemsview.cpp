#include "problemsview.h"

#include <QContextMenuEvent>
#include <QMenu>

#include "textconv.h"

ProblemsView::ProblemsView(QWidget* parent) : QListWidget(parent) {
    setObjectName("lstProblems");
    setAccessibleName(QStringLiteral("Problems"));
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const int row = this->row(item);
        if (row >= 0 && row < static_cast<int>(problems_.size()))
            emit openRequested(problems_[static_cast<std::size_t>(row)]);
    });
}

QString ProblemsView::RowText(const ShipProblem& p) {
    QString text = FromLocal(p.message);
    // The statement, where the message does not already quote it (Lua's message does not).
    if (!p.statement.empty() && p.message.find(p.statement) == std::string::npos)
        text += " in " + FromLocal(p.statement);
    return p.line > 0 ? QString::number(p.line) + ": " + text : text;
}

void ProblemsView::SetProblems(std::vector<ShipProblem> problems) {
    problems_ = std::move(problems);
    const int keep = currentRow();
    clear();
    for (const ShipProblem& p : problems_) {
        auto* item = new QListWidgetItem(RowText(p), this);
        item->setToolTip(FromLocal(p.statement));
    }
    if (keep >= 0 && keep < count()) setCurrentRow(keep);
}

void ProblemsView::contextMenuEvent(QContextMenuEvent* event) {
    const int row = this->row(itemAt(event->pos()));
    if (row < 0 || row >= static_cast<int>(problems_.size())) return;
    const ShipProblem problem = problems_[static_cast<std::size_t>(row)];
    QMenu menu(this);
    QAction* open = menu.addAction(tr("&Open"));
    QAction* apply = menu.addAction(tr("Apply suggestion"));
    apply->setObjectName("ApplySuggestion");
    apply->setEnabled(problem.suggestion.has_value());
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen == open) emit openRequested(problem);
    else if (chosen == apply) emit applyRequested(problem);
}
