#include "engine/graphics/shown_frames.h"

#include <algorithm>

namespace zrb::graphics {

void ShownFramesRenderer::DeleteTexture(uint32_t texture) {
  // A name GL hands out again must not give a written-down quad a new texture.
  for (Frame* frame : {&current_, &last_}) {
    std::erase_if(frame->commands, [texture](const RecordedCommand& command) {
      return command.kind == RecordedCommand::Kind::kTexturedQuad &&
             command.textured.texture == texture;
    });
  }
  inner_->DeleteTexture(texture);
}

void ShownFramesRenderer::Record(const RecordedCommand& command) {
  current_.commands.push_back(command);
}

void ShownFramesRenderer::Clear(const std::array<float, 4>& rgba) {
  RecordedCommand command;
  command.clearColour = rgba;
  Record(command);
  if (!hidden_) inner_->Clear(rgba);
}

void ShownFramesRenderer::DrawTexturedQuad(const TexturedQuad& quad) {
  RecordedCommand command;
  command.kind = RecordedCommand::Kind::kTexturedQuad;
  command.textured = quad;
  Record(command);
  if (!hidden_) inner_->DrawTexturedQuad(quad);
}

void ShownFramesRenderer::DrawFilledQuad(const FilledQuad& quad) {
  RecordedCommand command;
  command.kind = RecordedCommand::Kind::kFilledQuad;
  command.filled = quad;
  Record(command);
  if (!hidden_) inner_->DrawFilledQuad(quad);
}

void ShownFramesRenderer::PresentPicture() {
  if (!hidden_) inner_->PresentPicture();
  std::swap(last_, current_);
  current_.commands.clear();
  presented_ = true;
}

void ShownFramesRenderer::StartFrame(const std::array<float, 4>& rgba) {
  current_.commands.clear();
  current_.start = rgba;
  hidden_ = !windowShown_();
  if (!hidden_) inner_->StartFrame(rgba);
}

void ShownFramesRenderer::Replay(const Frame& frame) {
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
}

bool ShownFramesRenderer::PresentLastAgain() {
  if (!presented_ || !windowShown_()) return false;
  Replay(last_);
  inner_->PresentPicture();
  return true;
}

void ShownFramesRenderer::ResumeFrame() {
  Replay(current_);
  hidden_ = false;
}

}  // namespace zrb::graphics
