#pragma once

#include "core/skins/SkinError.h"

#include <QByteArrayView>
#include <QImage>
#include <QString>

class QPainter;
struct DibLoaded;

// A bitmap read from a compressed bitmap file (.ubm, magic FE 4D) or from a
// Windows bitmap file ("BM"), whatever the file's name. The image is held in
// the format the file asks to build (see dibImageFormat).
class TCompressedDib {
public:
    TCompressedDib() = default;

    static DibLoaded fromBytes(QByteArrayView file);
    static DibLoaded fromFile(const QString &path);

    [[nodiscard]] int width() const { return m_image.width(); }
    [[nodiscard]] int height() const { return m_image.height(); }
    [[nodiscard]] const QImage &image() const { return m_image; }

    // Copies `source` (in image pixels) to `target` on the painter, unscaled.
    void draw(QPainter &painter, const QPoint &target, const QRect &source) const;

private:
    explicit TCompressedDib(QImage image)
        : m_image(std::move(image))
    {
    }

    QImage m_image;
};

struct [[nodiscard]] DibLoaded {
    TCompressedDib dib;
    SkinError error = SkinError::None;
};
