#include "extras/sync/mergeplan.h"

namespace filesync {

ElementMerge mergeElement(const Placement& base, const Placement& file, const Placement& saved,
                          const Placement& current) {
    ElementMerge merge{current};
    const unsigned byFile = undo::changedKeys(base, file);
    const unsigned byUser = undo::changedKeys(saved, current);
    merge.taken = byFile & ~byUser;
    for (const auto& [key, value] : undo::kKeys)
        if (merge.taken & key)
            merge.result.*value = file.*value;
    merge.conflict = byFile != 0 && byUser != 0;
    return merge;
}

} // namespace filesync
