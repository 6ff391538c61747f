// How the shell stand-in builds and reads its item lists.
//
// A list is one heap block from CoTaskMemAlloc. The Desktop is the empty list (just the
// terminating zero size). A file-system item is one SHITEMID: its size, a four-byte marker
// and the path in the local 8-bit encoding with its NUL, followed by the terminating zero.
#pragma once

#include "platform/shell.h"

#include <QString>
#include <memory>
#include <optional>

namespace platform {

struct ItemListFree {
    void operator()(ITEMIDLIST* list) const { CoTaskMemFree(list); }
};
using ItemListPtr = std::unique_ptr<ITEMIDLIST, ItemListFree>;

// The list of the Desktop.
ItemListPtr desktopItemList();

// The list of a file-system path (absolute, without a trailing separator); null when the
// path is too long for one item.
ItemListPtr pathItemList(const QString& path);

// What a list names: the empty string for the Desktop, the path for a file-system item,
// nothing for null or for a list this stand-in did not make.
std::optional<QString> itemListPath(PCIDLIST_ABSOLUTE list);

} // namespace platform
