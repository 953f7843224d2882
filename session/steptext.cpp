#include "steptext.h"

#include <QObject>
#include <QVariant>

StepText::StepText(QObject* dialog, QString thing, QString things)
    : dialog_(dialog), thing_(std::move(thing)), things_(std::move(things)) {}

void StepText::Did(const QString& action) {
    if (!actions_.contains(action)) actions_ << action;
    ++count_;
    if (dialog_) dialog_->setProperty(kStepTextProperty, Text());
}

QString StepText::Text() const {
    if (actions_.isEmpty()) return {};
    if (actions_.size() == 1)
        return count_ == 1 ? actions_.front() + " " + thing_
                           : actions_.front() + " " + QString::number(count_) + " " + things_;
    QStringList first = actions_;
    const QString last = first.takeLast();
    return first.join(", ") + " and " + last + " " + things_;
}
