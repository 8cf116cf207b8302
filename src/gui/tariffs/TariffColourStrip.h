#pragma once

#include <QColor>
#include <QWidget>

#include <cstdint>

// A stored tariff colour (0x00BBGGRR) as Qt draws it.
QColor qColourOfTariff(std::uint32_t colour);

// The sixteen tariff colours in one row. A click or the arrow keys choose
// one; a stored colour that is none of them is kept until the user chooses.
class TariffColourStrip final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TariffColourStrip)

public:
    explicit TariffColourStrip(QWidget *parent = nullptr);

    std::uint32_t colour() const { return m_colour; } // 0x00BBGGRR
    void setColour(std::uint32_t colour);
    void setColourIndex(int index);

signals:
    void colourChosen(std::uint32_t colour);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QRect cellRect(int index) const;
    QColor shownColour(std::uint32_t colour) const;
    void choose(int index);

    std::uint32_t m_colour = 0;
};
