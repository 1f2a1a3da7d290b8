#include "shell/event_drain.h"

#include "engine/engine_event_queue.h"
#include "ringing/engine_event.h"
#include "shell/status_panes.h"
#include "views/rows_store.h"

namespace clangor {

namespace {

void RowRung(const EngineEvent& e, TouchStatus& s, RowsStore& rows, DrainTarget& t) {
  s.rowText = e.text;
  t.paneChanged(pane::Row);
  if (e.values[0] < 1 || s.nameText.empty()) {
    // Rounds: what was asked for has not started yet.
    t.clearPendingTouch();
    if (s.rowCount == 0) t.startTouchClock();
  } else {
    ++s.rowCount;
    t.paneChanged(pane::RowCount);
    t.paneChanged(pane::Time);
  }
  rows.AddRow(e.text);
}

void SetCall(TouchStatus& s, DrainTarget& t, std::string text) {
  s.callText = std::move(text);
  t.paneChanged(pane::Call);
}

void Act(const EngineEvent& e, TouchStatus& s, RowsStore& rows, DrainTarget& t) {
  switch (e.code) {
    case event::RowRung:
      RowRung(e, s, rows, t);
      break;
    case event::CallSelected:
      SetCall(s, t, e.values[0] == 0 ? std::string() : "(" + e.text + ")");
      t.callButtonChanged(false);
      break;
    case event::CallMade:
      SetCall(s, t, e.values[0] == 'p' ? std::string() : e.text);
      t.callButtonChanged(true);
      rows.MarkCall(static_cast<char>(e.values[0]));
      break;
    case event::CallFinished:
      t.callButtonChanged(false);
      break;
    case event::CallOpportunity:
      SetCall(s, t, {});
      t.callButtonChanged(false);
      break;
    case event::TouchSelected:
      s.noteText = "(" + e.text + ")";
      t.paneChanged(pane::Call);
      break;
    case event::TouchLoaded:
      s.noteText = e.text;
      t.paneChanged(pane::Call);
      t.toolBarChanged();
      break;
    case event::TouchDescribed:
      s.nameText = e.text;
      s.callText.clear();
      t.paneChanged(pane::Call);
      t.paneChanged(pane::Name);
      t.titleChanged();
      rows.AppendToLastRow(e.text);
      break;
    case event::ChangeCalled:
      SetCall(s, t, e.text);
      break;
    case 10:  // the called change has been rung
      SetCall(s, t, {});
      break;
    case event::RingingEnded:
      t.ringingEnded();
      [[fallthrough]];
    case event::RoundsReached:
      t.titleChanged();
      t.toolBarChanged();
      break;
    case event::ClockFactorChanged:
      t.paneChanged(pane::ClockSpeed);
      break;
    default:
      break;
  }
}

}  // namespace

int DrainEvents(EngineEventQueue& queue, TouchStatus& status, RowsStore& rows, DrainTarget& target) {
  int drained = 0;
  bool slowed = false;
  while (queue.Size() > 0) {
    if (!slowed && queue.Size() > EventBacklogLimit) {
      target.decreaseClockSpeed();
      slowed = true;
    }
    for (const EngineEvent& e : queue.Drain()) {
      Act(e, status, rows, target);
      ++drained;
    }
  }
  if (drained > 0) target.rowsChanged();
  return drained;
}

}  // namespace clangor
