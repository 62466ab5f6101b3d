#include "app/install_progress.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/form_ids.h"
#include "app/progress_bar_layout.h"
#include "assets/constant_pool.h"
#include "form/engine/loader.h"
#include "host/wide_text.h"
#include "zip/extract.h"

namespace {

// The percentage in the colour that stands out from each part it crosses.
void DrawPercent(HDC dc, int percent, const RECT& inside, const RECT& filled, const RECT& empty) {
  char text[16];
  std::snprintf(text, sizeof text, PoolText(pool::Text::PercentFormat), percent);
  const std::wstring wide = text::WideForDisplay(text);
  const struct {
    const RECT& part;
    int colour;
  } parts[] = {{filled, progress_bar::kTextOnFilledColour}, {empty, progress_bar::kTextOnEmptyColour}};
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ font = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  for (const auto& [part, colour] : parts) {
    if (IsRectEmpty(&part)) continue;
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, part.left, part.top, part.right, part.bottom);
    SetTextColor(dc, GetSysColor(colour));
    RECT rect = inside;
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &rect,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    RestoreDC(dc, saved);
  }
  SelectObject(dc, font);
}

// Below the buttons, in the window's client coordinates.
RECT BarBelowTheButtons() {
  RECT column{};
  for (UnitId button : form_ids::kButtons) {
    RECT r;
    GetWindowRect(GetUnitObject(form_ids::kStartWindow, button).hwnd, &r);
    UnionRect(&column, &column, &r);
  }
  MapWindowPoints(nullptr, GetUnitObject(form_ids::kStartWindow, form_ids::kWindowUnit).hwnd,
                  reinterpret_cast<POINT*>(&column), 2);
  return progress_bar::Below(column);
}

}  // namespace

InstallProgress::InstallProgress(std::uint64_t payloadBytes)
    : bar_(BarBelowTheButtons()),
      expected_(payloadBytes),
      keepAlive_{&Expect, &Advance, &Wait, this},
      busy_(form_ids::kStartWindow, BusyOverlay{bar_, &Paint, this}) {}

void InstallProgress::Finish() {
  finished_ = true;
  Update();
}

void InstallProgress::Expect(void* context, std::uint64_t bytes) { static_cast<InstallProgress*>(context)->expected_ += bytes; }

void InstallProgress::Advance(void* context, std::uint64_t bytes) {
  auto* progress = static_cast<InstallProgress*>(context);
  progress->written_ += bytes;
  if (progress->busy_.Tend()) progress->Update();
}

void InstallProgress::Wait(void* context, DWORD milliseconds) {
  auto* progress = static_cast<InstallProgress*>(context);
  // What the work before the pause did shows during the pause.
  progress->Update();
  progress->busy_.Wait(milliseconds);
}

int InstallProgress::Percent() const { return finished_ ? 100 : std::min(ProgressPercent(written_, expected_), 100); }

void InstallProgress::Update() {
  if (Percent() == shownPercent_) return;
  shownPercent_ = Percent();
  busy_.RedrawOverlay();
}

void InstallProgress::Paint(HDC dc, const void* context) {
  const auto* progress = static_cast<const InstallProgress*>(context);
  const RECT inside = progress_bar::Inside(progress->bar_);
  const RECT filled = progress_bar::Filled(inside, progress->shownPercent_);
  const RECT empty{filled.right, inside.top, inside.right, inside.bottom};
  FrameRect(dc, &progress->bar_, GetSysColorBrush(progress_bar::kFrameColour));
  FillRect(dc, &filled, GetSysColorBrush(progress_bar::kFilledColour));
  FillRect(dc, &empty, GetSysColorBrush(progress_bar::kEmptyColour));
  DrawPercent(dc, progress->shownPercent_, inside, filled, empty);
}
