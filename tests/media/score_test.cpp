#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "tools/mediagen/score.h"
#include "tools/mediagen/synth.h"

namespace mediagen {
namespace {

Score Parse(const std::string& text) {
  return ParseScore(SourceText::FromString("tune.txt", text));
}

std::string ErrorOf(const std::string& text) {
  try {
    Parse(text);
  } catch (const SourceError& e) {
    return e.what();
  }
  return "";
}

const char* kHead =
    "output t.wav\n"
    "tempo 120\n"
    "voice lead square\n"
    "voice kit drums\n";

TEST(Score, NoteNamesGiveEqualTemperedPitches) {
  EXPECT_DOUBLE_EQ(NoteFrequency("a4"), 440.0);
  EXPECT_NEAR(NoteFrequency("c4"), 261.626, 0.001);
  EXPECT_NEAR(NoteFrequency("f#3"), NoteFrequency("gb3"), 1e-9);
  EXPECT_NEAR(NoteFrequency("bb5"), 932.328, 0.001);
  EXPECT_LT(NoteFrequency("h4"), 0);
  EXPECT_LT(NoteFrequency("c9"), 0);
  EXPECT_LT(NoteFrequency("c#"), 0);
}

TEST(Score, HoldsLengthenNotesRestsEndThemAndPatternsChainWithTransposition) {
  Score s = Parse(std::string(kHead) +
                  "pattern a\n"
                  "  lead | a4 . . - c5>c6 . |\n"
                  "  kit  | k . s . h o |\n"
                  "play a a+12\n");
  EXPECT_EQ(s.totalSteps, 12);
  EXPECT_DOUBLE_EQ(s.StepSeconds(), 0.125);
  EXPECT_DOUBLE_EQ(s.Seconds(), 1.5);
  ASSERT_EQ(s.notes.size(), 12u);  // 2 lead notes and 4 drums, twice
  const Note& first = s.notes[0];
  EXPECT_EQ(first.startStep, 0);
  EXPECT_EQ(first.steps, 3);
  EXPECT_DOUBLE_EQ(first.freqStart, 440.0);
  const Note& slide = s.notes[1];
  EXPECT_EQ(slide.startStep, 4);
  EXPECT_EQ(slide.steps, 2);
  EXPECT_NEAR(slide.freqEnd / slide.freqStart, 2.0, 1e-9);
  const Note& upOctave = s.notes[2];
  EXPECT_EQ(upOctave.startStep, 6);
  EXPECT_DOUBLE_EQ(upOctave.freqStart, 880.0);
  EXPECT_EQ(s.notes[4].drum, 'k');
}

TEST(Score, MalformedScoresAreRejectedWithFileAndLine) {
  std::string h = kHead;  // 4 lines
  EXPECT_EQ(ErrorOf(h + "pattern a\n  lead a4 . . .\n  kit k . .\nplay a\n"),
            "tune.txt:7: voice \"kit\" has 3 steps in pattern \"a\" but \"lead\" has 4");
  EXPECT_EQ(ErrorOf(h + "pattern a\n  lead a4 q4\nplay a\n"),
            "tune.txt:6: \"q4\" is not a note (c4, f#3, bb5, c4>g4), a hold \".\" or a rest \"-\"");
  EXPECT_EQ(ErrorOf(h + "pattern a\n  kit k x\nplay a\n"),
            "tune.txt:6: drum voice \"kit\" takes k s h o c t . -, not \"x\"");
  EXPECT_EQ(ErrorOf(h + "pattern a\n  lead a4\nplay b\n"), "tune.txt:7: no pattern named \"b\"");
  EXPECT_EQ(ErrorOf(h + "voice pad organ\n"),
            "tune.txt:5: unknown wave \"organ\" (square, triangle, saw, sine, noise, drums)");
  EXPECT_EQ(ErrorOf(h + "voice pad sine wobble=3\n"),
            "tune.txt:5: unknown voice option \"wobble\"");
  EXPECT_EQ(ErrorOf(h + "voice pad sine volume\n"),
            "tune.txt:5: voice options are written key=value, not \"volume\"");
  EXPECT_EQ(ErrorOf(h + "voice pad sine echo=0.5\n"), "tune.txt:5: echo is written echo=A:B");
  EXPECT_EQ(ErrorOf(h + "voice lead sine\n"), "tune.txt:5: voice \"lead\" is defined twice");
  EXPECT_EQ(ErrorOf(h + "tempo 0\n"), "tune.txt:5: number 0 is outside 10..2000");
  EXPECT_EQ(ErrorOf(h + "loop maybe\n"), "tune.txt:5: loop is \"yes\" or \"no\"");
  EXPECT_EQ(ErrorOf(h + "min-seconds 10\npattern a\n  lead a4\nplay a\n"),
            "tune.txt: the piece lasts 0.125000 s, less than its min-seconds 10.000000");
  EXPECT_EQ(ErrorOf(h + "pattern a\n  lead a4\n"), "tune.txt: no \"play\" line");
  EXPECT_EQ(ErrorOf("tempo 100\nvoice a sine\npattern p\n  a c4\nplay p\n"),
            "tune.txt: no \"output NAME\" line");
}

TEST(Synth, LoopingPiecesHaveTheirExactLengthAndQuietEnds) {
  Score s = Parse(
      "output t.mp3\ntempo 120\nloop yes\nvolume 0.5\n"
      "voice lead square release=0.5 echo=0.2:0.5\n"
      "pattern a\n  lead c5 . . c6\nplay a\n");
  AudioBuffer a = RenderScore(s, 8000, 2);
  EXPECT_EQ(a.channels, 2);
  EXPECT_EQ(a.frames(), 4000u);  // 4 steps of 0.125 s, tails folded onto the start
  float peak = 0;
  for (float v : a.samples)
    peak = std::max(peak, std::abs(v));
  EXPECT_NEAR(peak, 0.5f, 1e-4);
  EXPECT_EQ(a.samples.front(), 0.0f);
  EXPECT_EQ(a.samples.back(), 0.0f);
  // The echo of the last note folded onto the start: the first step is not a bare note.
  Score once = s;
  once.loop = false;
  AudioBuffer b = RenderScore(once, 8000, 1);
  EXPECT_GT(b.frames(), 4000u);  // a one-shot piece lets its last note ring out
}

TEST(Synth, RenderingIsRepeatable) {
  Score s = Parse(
      "output t.wav\ntempo 300\nvoice n noise cutoff=5000>300\nvoice d drums\n"
      "pattern a\n  n c7 . c6\n  d k s c\nplay a\n");
  EXPECT_EQ(RenderScore(s, 22050, 1).samples, RenderScore(s, 22050, 1).samples);
}

}  // namespace
}  // namespace mediagen
