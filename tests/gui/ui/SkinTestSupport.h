#pragma once

#include "core/skins/SkinLibrary.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

inline const QColor kKey(0, 0, 255);

// A picture of one colour with, optionally, a key-coloured square in a corner.
inline QImage solidPicture(QSize size, QColor colour, QRect keyArea = {})
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    if (!keyArea.isNull()) {
        QPainter painter(&image);
        painter.fillRect(keyArea, kKey);
    }
    return image;
}

// A program folder of the test's own whose skin folder receives .bmp files.
class SkinFolder {
public:
    SkinFolder()
    {
        SkinLibrary::setProgramFolder(m_dir.path());
        QDir(m_dir.path()).mkpath(QStringLiteral("skins/default"));
    }
    ~SkinFolder() { SkinLibrary::setProgramFolder(QString()); }
    SkinFolder(const SkinFolder &) = delete;
    SkinFolder &operator=(const SkinFolder &) = delete;

    void add(const QString &name, const QImage &picture) const
    {
        ASSERT_TRUE(picture.save(QDir(SkinLibrary::skinFolder()).filePath(name + QStringLiteral(".bmp")), "BMP"));
    }
    QString file(const QString &name) const { return QDir(m_dir.path()).filePath(name); }

private:
    QTemporaryDir m_dir;
};

// Waits, keeping events flowing, until `done` holds or `timeoutMs` passes.
inline bool waitUntil(const std::function<bool()> &done, int timeoutMs = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QTest::qWait(5);
    }
    return true;
}

// Runs `act` on the next modal dialog once it is up.
inline void whenDialogOpens(std::function<void(QDialog *)> act)
{
    QTimer::singleShot(0, [act = std::move(act)] {
        QDialog *dialog = nullptr;
        ASSERT_TRUE(waitUntil([&] {
            dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            return dialog != nullptr && dialog->isVisible();
        }));
        act(dialog);
    });
}

// While it lives, a dialog left open too long is closed with −99, so a
// broken dialog fails its test instead of hanging it.
class DialogGuard {
public:
    explicit DialogGuard(int ms = 5000)
    {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, [] {
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                dialog->done(-99);
        });
        m_timer.start(ms);
    }

private:
    QTimer m_timer;
};
