#include <SDL.h>

#include "engine/platform/clock.h"
#include "engine/platform/events.h"
#include "engine/platform/input_script.h"
#include "engine/platform/joypad.h"
#include "engine/platform/key_codes.h"
#include "engine/platform/live_input.h"
#include "engine/platform/replay.h"
#include "engine/platform/window.h"

namespace zrb::platform {
namespace {

WindowEventHandlers g_handlers;

ScriptEvent Recorded(ScriptEvent::Kind kind, int code = 0, bool on = false) {
  ScriptEvent event;
  event.kind = kind;
  event.code = code;
  event.on = on;
  return event;
}

void ChangeActivation(bool active) {
  if (active == WindowIsActive()) return;
  RecordInput(Recorded(ScriptEvent::Kind::kFocus, 0, active));
  SetWindowActive(active);
  if (g_handlers.activationChanged) g_handlers.activationChanged(active);
}

void RequestClose() {
  RecordInput(Recorded(ScriptEvent::Kind::kClose));
  if (g_handlers.closeRequested) g_handlers.closeRequested();
}

void DeliverKey(int code, bool down) {
  if (code > 0 && code < kKeyCodeCount) RecordInput(Recorded(ScriptEvent::Kind::kKey, code, down));
  if (ApplyKeyEvent(code, down) && g_handlers.displayModeKey) g_handlers.displayModeKey();
}

void HandleScriptEvent(const ScriptEvent& event) {
  switch (event.kind) {
    case ScriptEvent::Kind::kKey:
      DeliverKey(event.code, event.on);
      break;
    case ScriptEvent::Kind::kJoyAxis:
      SetScriptedJoypadAxis(event.code, event.value);
      break;
    case ScriptEvent::Kind::kJoyButton:
      SetScriptedJoypadButton(event.code, event.value);
      break;
    case ScriptEvent::Kind::kClose:
      RequestClose();
      break;
    case ScriptEvent::Kind::kFocus:
      ChangeActivation(event.on);
      break;
  }
}

void HandleSdlEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT:
      RequestClose();
      break;
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_CLOSE) RequestClose();
      if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) ChangeActivation(false);
      if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) ChangeActivation(true);
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      // A repeat of a held key changes nothing: it is not worth a line of the replay.
      if (event.key.repeat != 0 && Keyboard().down[KeyCodeFromScancode(event.key.keysym.scancode)])
        break;
      DeliverKey(KeyCodeFromScancode(event.key.keysym.scancode), event.type == SDL_KEYDOWN);
      break;
    case SDL_JOYDEVICEADDED:
      JoypadAttached(event.jdevice.which);
      break;
    case SDL_JOYDEVICEREMOVED:
      JoypadDetached(event.jdevice.which);
      break;
    default:
      break;
  }
}

// A replay being played takes nothing from the keyboard, the pad or the focus: only a close
// request or Escape, which end it at once.
void HandlePlaybackSdlEvent(const SDL_Event& event) {
  const bool escape =
      event.type == SDL_KEYDOWN && KeyCodeFromScancode(event.key.keysym.scancode) == kKeyEscape;
  const bool close = event.type == SDL_QUIT ||
                     (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE);
  if ((escape || close) && g_handlers.closeRequested) g_handlers.closeRequested();
}

}  // namespace

void DeliverDueReplayInput(void (*beforeEach)()) {
  ScriptEvent recorded;
  while (TakeDueReplayEvent(&recorded)) {
    if (beforeEach) beforeEach();
    HandleScriptEvent(recorded);
  }
}

void SetWindowEventHandlers(const WindowEventHandlers& handlers) {
  g_handlers = handlers;
}

void PumpEvents(void (*beforeEach)()) {
  if (PlayingReplay()) {
    DeliverDueReplayInput(beforeEach);
    if (IsHeadless() || SDL_WasInit(SDL_INIT_EVENTS) == 0) return;
    SDL_Event event;
    while (SDL_PollEvent(&event))
      HandlePlaybackSdlEvent(event);
    return;
  }
  ScriptEvent scripted;
  while (TakeDueScriptEvent(NowMs(), &scripted)) {
    if (beforeEach) beforeEach();
    HandleScriptEvent(scripted);
  }
  if (IsHeadless() || SDL_WasInit(SDL_INIT_EVENTS) == 0) return;
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    if (beforeEach) beforeEach();
    HandleSdlEvent(event);
  }
  ServeRepaintRequest();
}

}  // namespace zrb::platform
