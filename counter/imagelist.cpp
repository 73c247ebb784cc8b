#include "counter/imagelist.h"

#include "core/errorvalue.h"

namespace counter {

QIcon ImageList::image(int index) const
{
    if (index < 1 || index > count()) {
        throw core::standardError(core::errc::IndexOutOfBounds);
    }
    return m_images.at(index - 1);
}

} // namespace counter
