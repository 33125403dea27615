// A raised panel that paints its caption in its centre, as a form designer's panel does;
// children laid over it hide the caption.
#pragma once

#include <QFrame>
#include <QString>

class TPanel : public QFrame {
    Q_OBJECT
public:
    explicit TPanel(QWidget* parent, const QString& caption = QString());
    QString Caption() const { return caption_; }
    void SetColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
};
