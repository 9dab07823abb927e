#include "engine/graphics/shown_frames.h"

#include <algorithm>

namespace zrb::graphics {

void ShownFramesRenderer::DeleteTexture(uint32_t texture) {
  // A name GL hands out again must not bring a written-down quad a new texture.
  for (Frame* frame : {&current_, &last_}) {
    std::erase_if(frame->commands, [texture](const RecordedCommand& command) {
      return command.kind == RecordedCommand::Kind::kTexturedQuad &&
             command.textured.texture == texture;
    });
  }
  inner_->DeleteTexture(texture);
}

void ShownFramesRenderer::Clear(const std::array<float, 4>& rgba) {
  if (!hidden_) return inner_->Clear(rgba);
  RecordedCommand command;
  command.clearColour = rgba;
  current_.commands.push_back(command);
}

void ShownFramesRenderer::DrawTexturedQuad(const TexturedQuad& quad) {
  if (!hidden_) return inner_->DrawTexturedQuad(quad);
  RecordedCommand command;
  command.kind = RecordedCommand::Kind::kTexturedQuad;
  command.textured = quad;
  current_.commands.push_back(command);
}

void ShownFramesRenderer::DrawFilledQuad(const FilledQuad& quad) {
  if (!hidden_) return inner_->DrawFilledQuad(quad);
  RecordedCommand command;
  command.kind = RecordedCommand::Kind::kFilledQuad;
  command.filled = quad;
  current_.commands.push_back(command);
}

void ShownFramesRenderer::PresentPicture() {
  if (!hidden_) {
    inner_->PresentPicture();
    lastUnshown_ = false;
    return;
  }
  std::swap(last_, current_);
  lastUnshown_ = true;
}

// The real renderer is between frames whenever a written-down frame is the last one: the frame
// after its last real present never reached it.
void ShownFramesRenderer::DrawForReal(const Frame& frame) {
  inner_->StartFrame(frame.start);
  for (const RecordedCommand& command : frame.commands) {
    switch (command.kind) {
      case RecordedCommand::Kind::kClear:
        inner_->Clear(command.clearColour);
        break;
      case RecordedCommand::Kind::kTexturedQuad:
        inner_->DrawTexturedQuad(command.textured);
        break;
      case RecordedCommand::Kind::kFilledQuad:
        inner_->DrawFilledQuad(command.filled);
        break;
    }
  }
  inner_->PresentPicture();
}

bool ShownFramesRenderer::ShowPictureAgain() {
  if (!windowShown_()) return false;
  if (lastUnshown_) {
    DrawForReal(last_);
    lastUnshown_ = false;
  }
  return inner_->ShowPictureAgain();
}

void ShownFramesRenderer::StartFrame(const std::array<float, 4>& rgba) {
  current_.commands.clear();
  current_.start = rgba;
  hidden_ = !windowShown_();
  if (hidden_) return;
  if (lastUnshown_) {
    DrawForReal(last_);
    lastUnshown_ = false;
  }
  inner_->StartFrame(rgba);
}

}  // namespace zrb::graphics
