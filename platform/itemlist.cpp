#include "platform/itemlist.h"

#include <QByteArray>
#include <cstring>
#include <limits>

namespace platform {

namespace {

constexpr char kMarker[4] = {'T', 'S', 'L', '1'};
constexpr std::size_t kSizeField = sizeof(USHORT);
constexpr std::size_t kHeader = kSizeField + sizeof(kMarker);

USHORT readSize(const BYTE* at) {
    USHORT size = 0;
    std::memcpy(&size, at, sizeof size);
    return size;
}

void writeSize(BYTE* at, USHORT size) {
    std::memcpy(at, &size, sizeof size);
}

ItemListPtr allocate(std::size_t bytes) {
    return ItemListPtr(static_cast<ITEMIDLIST*>(CoTaskMemAlloc(bytes)));
}

} // namespace

ItemListPtr desktopItemList() {
    ItemListPtr list = allocate(kSizeField);
    if (list)
        writeSize(reinterpret_cast<BYTE*>(list.get()), 0);
    return list;
}

ItemListPtr pathItemList(const QString& path) {
    const QByteArray bytes = path.toLocal8Bit();
    const std::size_t itemSize = kHeader + std::size_t(bytes.size()) + 1;
    if (bytes.isEmpty() || itemSize > std::numeric_limits<USHORT>::max())
        return nullptr;
    ItemListPtr list = allocate(itemSize + kSizeField);
    if (!list)
        return nullptr;
    auto* at = reinterpret_cast<BYTE*>(list.get());
    writeSize(at, USHORT(itemSize));
    std::memcpy(at + kSizeField, kMarker, sizeof kMarker);
    std::memcpy(at + kHeader, bytes.constData(), std::size_t(bytes.size()) + 1);
    writeSize(at + itemSize, 0);
    return list;
}

std::optional<QString> itemListPath(PCIDLIST_ABSOLUTE list) {
    if (!list)
        return std::nullopt;
    const auto* at = reinterpret_cast<const BYTE*>(list);
    const USHORT itemSize = readSize(at);
    if (itemSize == 0)
        return QString();
    if (itemSize <= kHeader + 1 || std::memcmp(at + kSizeField, kMarker, sizeof kMarker) != 0)
        return std::nullopt;
    const auto* text = reinterpret_cast<const char*>(at + kHeader);
    const std::size_t room = itemSize - kHeader;
    const void* end = std::memchr(text, '\0', room);
    if (!end || readSize(at + itemSize) != 0)
        return std::nullopt;
    return QString::fromLocal8Bit(text, static_cast<const char*>(end) - text);
}

} // namespace platform
