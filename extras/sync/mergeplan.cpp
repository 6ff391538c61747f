#include "extras/sync/mergeplan.h"

#include <cmath>

namespace filesync {

namespace {

bool changed(double before, double after) {
    return std::abs(before - after) > undo::kTolerance;
}

} // namespace

ElementMerge mergeElement(const Placement& base, const Placement& file, const Placement& saved,
                          const Placement& current) {
    ElementMerge merge{current};
    bool fileChanged = false;
    bool userChanged = false;
    const auto key = [&](double Placement::*k) {
        const bool byFile = changed(base.*k, file.*k);
        const bool byUser = changed(saved.*k, current.*k);
        fileChanged = fileChanged || byFile;
        userChanged = userChanged || byUser;
        if (byFile && !byUser) {
            merge.result.*k = file.*k;
            merge.fromFile = true;
        }
    };
    key(&Placement::left);
    key(&Placement::top);
    key(&Placement::width);
    key(&Placement::height);
    merge.conflict = fileChanged && userChanged && undo::differs(merge.result, file);
    return merge;
}

} // namespace filesync
