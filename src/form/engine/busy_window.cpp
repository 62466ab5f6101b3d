#include "form/engine/busy_window.h"

#include "form/engine/loader.h"

namespace {

// How often the window is looked after at least while work goes on: a piece
// of work between two calls of Tend takes a few milliseconds, so the system's
// questions are answered and uncovered parts repainted well within 50 ms.
constexpr DWORD kTendInterval = 20;

// Keys, and the mouse over the client area and over the frame.
bool IsInput(UINT message) {
  return (message >= WM_KEYFIRST && message <= WM_KEYLAST) || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
         (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

// What the thread's windows are sent (the system asking whether they live,
// another program asking for a text) is handled inside PeekMessage itself.
// Of what is posted, paint, timers and the engine's own messages are
// dispatched, and input is dropped: a key or click kept until the sequence
// is over would press a button the player saw disabled. A quit message stays
// for the message loop.
void HandleWaitingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (!IsInput(msg.message)) DispatchMessageW(&msg);
  }
}

// The pointer does not move when a sequence starts or ends, so the system
// would not ask the window for it again until it does: ask in its place.
void RefreshPointer(HWND window) {
  POINT at;
  if (!GetCursorPos(&at)) return;
  HWND under = WindowFromPoint(at);
  if (under == nullptr || (under != window && !IsChild(window, under))) return;
  const auto hit = static_cast<WORD>(SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y)));
  SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(hit, WM_MOUSEMOVE));
}

void ExpectNothing(void*, std::uint64_t) {}
void TendAfterWork(void* context, std::uint64_t) { static_cast<BusyWindow*>(context)->Tend(); }
void WaitThrough(void* context, DWORD milliseconds) { static_cast<BusyWindow*>(context)->Wait(milliseconds); }

}  // namespace

BusyWindow::BusyWindow(UnitId window, std::optional<BusyOverlay> overlay)
    : window_(window),
      hwnd_(GetUnitObject(window, 0).hwnd),
      overlay_(overlay),
      previous_(BusyWindowOf(window)),
      lastTended_(GetTickCount()),
      keepAlive_{&ExpectNothing, &TendAfterWork, &WaitThrough, this} {
  SetBusyWindow(window_, this);
  // A greyed close box tells the player why closing does nothing now.
  EnableMenuItem(GetSystemMenu(hwnd_, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  RefreshPointer(hwnd_);
  RedrawOverlay();
}

BusyWindow::~BusyWindow() {
  if (BusyWindowOf(window_) != this) return;  // the window went, and its records with it
  SetBusyWindow(window_, previous_);
  if (previous_ == nullptr) EnableMenuItem(GetSystemMenu(hwnd_, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
  if (overlay_) InvalidateRect(hwnd_, &overlay_->area, FALSE);
  RefreshPointer(hwnd_);
}

bool BusyWindow::Tend() {
  if (GetTickCount() - lastTended_ < kTendInterval) return false;
  HandleWaitingMessages();
  lastTended_ = GetTickCount();
  return true;
}

void BusyWindow::Wait(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  for (;;) {
    HandleWaitingMessages();
    lastTended_ = GetTickCount();
    const DWORD waited = lastTended_ - start;
    if (waited >= milliseconds) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - waited, QS_ALLINPUT);
  }
}

void BusyWindow::RedrawOverlay() const {
  if (!overlay_) return;
  HDC dc = GetDC(hwnd_);
  if (dc == nullptr) return;
  PaintOverlay(dc);
  ReleaseDC(hwnd_, dc);
}

void BusyWindow::PaintOverlay(HDC dc) const {
  if (overlay_) overlay_->paint(dc, overlay_->context);
}
