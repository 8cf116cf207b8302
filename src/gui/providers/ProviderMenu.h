#pragma once

#include <QImage>
#include <QMenu>

class QAction;
class QPainter;

// The owner-drawn pop-up list of providers (or phonebook entries): each item
// a caption and an integer tag, drawn in the look's font on the skin's menu
// images, in the text colour that reads on them.
// The main window chooses its provider with it, the call log its filter and
// the month of a report.
class ProviderMenu final : public QMenu {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProviderMenu)

public:
    static constexpr int kItemHeight = 25;
    static constexpr int kSeparatorHeight = 5;
    static constexpr int kWidth = 240;
    static constexpr int kTextMargins = 10; // both sides of a caption
    static constexpr int kScreenMargin = 4; // a long list stops short of the screen's edges

    explicit ProviderMenu(QWidget *parent = nullptr);

    void clearItems();
    // The caption is shown as it stands: an ampersand is no shortcut marker.
    QAction *addItem(const QString &caption, int tag);
    static QString captionOf(const QAction *action);
    static int tagOf(const QAction *action);

    // Loads "MenuBack" and "MenuHigh" from the skin; plain colours stand in
    // for an image that is missing.
    void reloadSkinImages();

    // Opens at `at` at least `width` wide (the field it drops from), captions
    // too long for it cut with an ellipsis and whole in their hints.
    void open(const QPoint &at, int width = kWidth);

    // Size of one item; `sizingFrameWidth` is the width of a window's sizing frame.
    static QSize measureItem(bool separator, int sizingFrameWidth, int width = kWidth);
    int itemWidth() const { return m_itemWidth; }
    // Draws one item into `rect`.
    void drawItem(QPainter &painter, const QRect &rect, const QString &caption, bool selected) const;

signals:
    void itemChosen(const QString &caption, int tag);

private:
    QImage m_back;
    QImage m_highlight;
    QColor m_text;
    QColor m_highlightText;
    int m_itemWidth = kWidth;
};
