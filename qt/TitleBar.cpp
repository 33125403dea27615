#include "TitleBar.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QStyle>
#include <QToolButton>
#include <QWindow>

#include <algorithm>

namespace {

class TitleBar : public QWidget {
public:
    TitleBar(QWidget& window, Qt::WindowFlags flags) : QWidget(&window), window_(window)
    {
        setObjectName("titleBar");
        setAutoFillBackground(true);
        ShowActive(window.isActiveWindow());

        auto* row = new QHBoxLayout(this);
        row->setContentsMargins(4, 2, 2, 2);
        row->setSpacing(2);
        menu_ = new QMenu(this);
        if (flags & Qt::WindowMinimizeButtonHint)
            menu_->addAction(tr("Minimize"), &window, &QWidget::showMinimized);
        // Added to the window too, so that its shortcut works there as the menu shows it.
        window.addAction(
            menu_->addAction(tr("Close"), QKeySequence(Qt::ALT | Qt::Key_F4), &window, &QWidget::close));
        if (flags & Qt::WindowSystemMenuHint) {
            const QIcon icon = window.windowIcon();
            QToolButton* menuButton = AddButton(row, "menu");
            menuButton->setIcon(icon.isNull() ? style()->standardIcon(QStyle::SP_TitleBarMenuButton) : icon);
            menuButton->setMenu(menu_);
            menuButton->setPopupMode(QToolButton::InstantPopup);
            menuButton->setStyleSheet("QToolButton::menu-indicator { image: none; }");
        }

        caption_ = new QLabel(window.windowTitle(), this);
        caption_->setTextFormat(Qt::PlainText);
        row->addWidget(caption_, 1);

        if (flags & Qt::WindowMinimizeButtonHint) {
            connect(AddButton(row, "minimise", QString(QChar(0x2013))), &QToolButton::clicked, &window,
                    &QWidget::showMinimized);
        }
        connect(AddButton(row, "close", QString(QChar(0x00D7))), &QToolButton::clicked, &window,
                &QWidget::close);

        const int height =
            std::max(style()->pixelMetric(QStyle::PM_TitleBarHeight), fontMetrics().height() + 8);
        setFixedHeight(height);
        const QMargins around = window.contentsMargins();
        window.setContentsMargins(around.left(), around.top() + height, around.right(), around.bottom());
        window.installEventFilter(this);
        setGeometry(0, 0, window.width(), height);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &window_) {
            if (event->type() == QEvent::Resize) setGeometry(0, 0, window_.width(), height());
            if (event->type() == QEvent::WindowTitleChange) caption_->setText(window_.windowTitle());
            if (event->type() == QEvent::ActivationChange) ShowActive(window_.isActiveWindow());
        }
        return false;
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && window_.windowHandle()) {
            window_.windowHandle()->startSystemMove();
        } else if (event->button() == Qt::RightButton) {
            menu_->popup(event->globalPosition().toPoint());
        }
    }

    // A double click maximises on other title bars; on this one it does nothing.
    void mouseDoubleClickEvent(QMouseEvent* event) override { event->accept(); }

private:
    // The active window's title bar in the highlight colour, as desktops show it.
    void ShowActive(bool active)
    {
        QPalette colours = window_.palette();
        if (active) {
            colours.setColor(QPalette::Window, colours.color(QPalette::Highlight));
            colours.setColor(QPalette::WindowText, colours.color(QPalette::HighlightedText));
            colours.setColor(QPalette::ButtonText, colours.color(QPalette::HighlightedText));
        } else {
            colours.setColor(QPalette::Window, colours.color(QPalette::Window).darker(115));
        }
        setPalette(colours);
    }

    QToolButton* AddButton(QHBoxLayout* row, const char* name, const QString& glyph = {})
    {
        auto* button = new QToolButton(this);
        button->setObjectName(name);
        button->setText(glyph);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);  // the window's tab order is its contents'
        row->addWidget(button);
        return button;
    }

    QWidget& window_;
    QLabel* caption_;
    QMenu* menu_;
};

}  // namespace

void InstallTitleBar(QWidget& window)
{
    const Qt::WindowFlags flags = window.windowFlags();
    // The type alone: with the customising hints Qt would drop the frameless one again.
    window.setWindowFlags((flags & Qt::WindowType_Mask) | Qt::FramelessWindowHint);
    new TitleBar(window, flags);
}
