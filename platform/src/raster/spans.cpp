// Span lists, box and union shapes, and the scanline painter.
#include "raster/spans.h"

#include <algorithm>

#include "raster/row_fill.h"

namespace win::raster {

void normalize(SpanList& spans) {
    if (spans.size() <= 1) {
        if (spans.size() == 1 && spans[0].x1 <= spans[0].x0) spans.clear();
        return;
    }
    sort_short(spans.data(), spans.data() + spans.size(),
               [](const Span& a, const Span& b) { return a.x0 < b.x0; });
    std::size_t kept = 0;
    for (const Span& s : spans) {
        if (s.x1 <= s.x0) continue;
        if (kept > 0 && s.x0 <= spans[kept - 1].x1) {
            spans[kept - 1].x1 = std::max(spans[kept - 1].x1, s.x1);
        } else {
            spans[kept++] = s;
        }
    }
    spans.resize(kept);
}

void subtract(const SpanList& a, const SpanList& b, SpanList& out) {
    out.clear();
    std::size_t j = 0;
    for (Span s : a) {
        while (j < b.size() && b[j].x1 <= s.x0) ++j;
        std::size_t k = j;
        while (k < b.size() && b[k].x0 < s.x1) {
            if (b[k].x0 > s.x0) out.push_back({s.x0, b[k].x0});
            s.x0 = std::max(s.x0, b[k].x1);
            ++k;
        }
        if (s.x0 < s.x1) out.push_back(s);
    }
}

RowRange BoxShape::rows() const {
    return {top_, bottom_};
}

void BoxShape::add_spans(std::int64_t y, SpanList& out) const {
    if (y >= top_ && y < bottom_ && left_ < right_) out.push_back({left_, right_});
}

UnionShape::~UnionShape() {
    // The parts' memory goes back with the arena; only their destructors run here.
    for (const Part& part : parts_) part.shape->~RowShape();
}

void UnionShape::keep(RowShape* part) {
    const RowRange r = part->rows();
    if (r.empty()) {
        part->~RowShape();
        return;
    }
    if (parts_.empty()) {
        rows_ = r;
    } else {
        rows_.top = std::min(rows_.top, r.top);
        rows_.bottom = std::max(rows_.bottom, r.bottom);
    }
    parts_.push_back({r, part});
}

void UnionShape::add_spans(std::int64_t y, SpanList& out) const {
    for (const Part& part : parts_) {
        if (y >= part.rows.top && y < part.rows.bottom) part.shape->add_spans(y, out);
    }
}

namespace {

RowRange visible_rows(const RowShape* brush, const RowShape* pen, const Box64& clip) {
    RowRange r{clip.bottom, clip.top};
    for (const RowShape* s : {brush, pen}) {
        if (!s) continue;
        const RowRange sr = s->rows();
        if (sr.empty()) continue;
        r.top = std::min(r.top, sr.top);
        r.bottom = std::max(r.bottom, sr.bottom);
    }
    r.top = std::max(r.top, clip.top);
    r.bottom = std::min(r.bottom, clip.bottom);
    return r;
}

// Fills the spans of one row, cut to the clip; returns whether anything was written.
bool fill_row(std::uint32_t* row, const SpanList& spans, const Box64& clip, std::uint32_t px) {
    bool wrote = false;
    for (const Span& s : spans) wrote |= fill_clipped(row, s.x0, s.x1, clip, px);
    return wrote;
}

}  // namespace

void paint_figure(DeviceContext& dc, const RowShape* brush, std::uint32_t brush_pixel,
                  const RowShape* pen, std::uint32_t pen_pixel) {
    if (!dc.surface) return;
    const Box64 clip = clip_of(dc);
    if (clip.left >= clip.right) return;
    const RowRange rows = visible_rows(brush, pen, clip);
    // Reused from call to call: a figure costs no allocation once they have grown.
    thread_local SpanList pen_spans, brush_spans, brush_only;
    // Pen and brush of one colour paint their union in one pass.
    const bool one_colour = brush && pen && brush_pixel == pen_pixel;
    bool wrote = false;
    for (std::int64_t y = rows.top; y < rows.bottom; ++y) {
        pen_spans.clear();
        brush_spans.clear();
        if (pen) pen->add_spans(y, one_colour ? brush_spans : pen_spans);
        if (brush) brush->add_spans(y, brush_spans);
        if (pen_spans.empty() && brush_spans.empty()) continue;
        normalize(brush_spans);
        std::uint32_t* row = dc.surface->row(std::int32_t(y));
        if (pen_spans.empty()) {
            wrote |= fill_row(row, brush_spans, clip, brush_pixel);
            continue;
        }
        normalize(pen_spans);
        subtract(brush_spans, pen_spans, brush_only);
        wrote |= fill_row(row, brush_only, clip, brush_pixel);
        wrote |= fill_row(row, pen_spans, clip, pen_pixel);
    }
    if (wrote) dc.surface->touch();
}

}  // namespace win::raster
