#pragma once

#include <QIcon>
#include <QList>

namespace counter {

// The window's image list: icons by position, counted from 1 as the callers give them.
class ImageList
{
public:
    void add(const QIcon& icon) { m_images.append(icon); }
    int count() const { return static_cast<int>(m_images.size()); }
    // The image at position index (1 = the first). Throws core::Error 35600 when there is none.
    QIcon image(int index) const;

private:
    QList<QIcon> m_images;
};

} // namespace counter
