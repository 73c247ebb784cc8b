#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QWidget>

namespace testsupport {

// Keeps a picture of widget as build/screenshots/<name>.png (name may hold a subfolder); the tests run from
// build/tests/<folder>. False when the picture could not be written.
inline bool keepScreenshot(QWidget& widget, const QString& name)
{
    const QString path =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../../screenshots/") + name + QStringLiteral(".png");
    QDir().mkpath(QFileInfo(path).path());
    return widget.grab().save(path);
}

} // namespace testsupport
