// What a person watching a label saw: every text it was painted with, in order, each change
// noted once. Texts are UTF-8.
#pragma once

#include <QObject>

#include <string>
#include <vector>

class QLabel;

class LabelHistory : public QObject {
public:
    explicit LabelHistory(QLabel* label);

    const std::vector<std::string>& Texts() const { return texts_; }
    int Count(const std::string& text) const;
    // The text painted last; empty before any paint.
    std::string Last() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* label_;
    std::vector<std::string> texts_;
};
