// The game's fields of the per-frame trace (--trace).
#include "engine/frame/trace_writer.h"
#include "game/game_main.h"
#include "game/state.h"

namespace tundrel {
namespace {

void TracePenguin(zrb::TraceWriter& trace, const char* name, const Penguin& penguin) {
  trace.BeginObject(name);
  trace.Int("x", penguin.x);
  trace.Int("y", penguin.y);
  trace.Int("webState", penguin.webState);
  trace.EndObject();
}

}  // namespace

void TraceFrame(zrb::TraceWriter& trace) {
  trace.String("screen", screenName);
  trace.Int("score", score);
  trace.Int("highScore", highScore);
  trace.Int("round", round);
  trace.Int("lives", lives);
  trace.Int("timer", timer);
  trace.Int("easyMode", easyMode);
  trace.Int("soundOn", soundOn);
  trace.Int("fullScreen", fullScreen);
  trace.Int("scanlinesOn", scanlinesOn);
  trace.Int("inGame", inGame);
  trace.Int("lossReason", lossReason);
  trace.Int("bonusRound", bonusRound);
  trace.Int("penguinSteps", penguinSteps);
  trace.Int("enemySteps", enemySteps);
  TracePenguin(trace, "p1", penguin1);
  TracePenguin(trace, "p2", penguin2);
  trace.Int("enemies", zrb::ArraySize(enemies, 0));
  trace.Int("webs", zrb::ArraySize(webs, 0));
  trace.Int("items", zrb::ArraySize(items, 0));
  trace.Int("sideSwap", sideSwap);
}

}  // namespace tundrel
