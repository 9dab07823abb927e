// Music and sound effects written as note text: voices, patterns of step tokens and a play
// order (see media/README.md). ParseScore checks the text and turns it into timed notes.
#pragma once

#include <string>
#include <vector>

#include "tools/mediagen/source_text.h"

namespace mediagen {

enum class Wave { kSquare, kTriangle, kSaw, kSine, kNoise, kDrums };

struct Voice {
  std::string name;
  Wave wave = Wave::kSquare;
  double duty = 0.5;
  double volume = 0.5;
  double pan = 0.0;                                                   // -1 left .. 1 right
  double attack = 0.005, decay = 0.1, sustain = 0.7, release = 0.05;  // seconds, level
  double vibratoRate = 0, vibratoDepth = 0;                           // Hz, semitones
  double cutoffStart = 0, cutoffEnd = 0;  // low-pass sweep over each note, Hz; 0 = open
  double echoTime = 0, echoFeedback = 0;  // seconds, 0..0.9
  double detune = 0;                      // cents, a second slightly detuned oscillator
  int octave = 0;                         // shift of every note
};

struct Note {
  int voice = 0;
  int startStep = 0, steps = 0;
  double freqStart = 0, freqEnd = 0;  // Hz; equal unless the note slides
  char drum = 0;                      // drums: k s h o c t
};

struct Score {
  std::string output;
  double tempo = 120;  // beats per minute
  int stepsPerBeat = 4;
  double volume = 0.85;  // peak level of the finished piece
  bool loop = false;
  double minSeconds = 0;  // the piece must last at least this long before it repeats
  std::vector<Voice> voices;
  std::vector<Note> notes;
  int totalSteps = 0;

  double StepSeconds() const { return 60.0 / tempo / stepsPerBeat; }
  double Seconds() const { return totalSteps * StepSeconds(); }
};

Score ParseScore(const SourceText& src);

// "c4", "f#3", "bb5" -> Hz (a4 = 440); negative when the text is not a note.
double NoteFrequency(std::string_view name);

}  // namespace mediagen
