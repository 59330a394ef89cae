// The few geometry operations that are not inline: translation and the work area's offset.
#include "base/geometry.h"

#include "base/saturating.h"

namespace quilla {

Point translate(Point p, Point by) noexcept {
    return {saturating_add(p.x, by.x), saturating_add(p.y, by.y)};
}

Point work_area_offset(const Rect& monitor, const Rect& work_area) noexcept {
    return {saturating_sub(work_area.left, monitor.left),
            saturating_sub(work_area.top, monitor.top)};
}

}  // namespace quilla
