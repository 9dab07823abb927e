// The four instruction pages: lines of text, each page ended by the line "#".
#include "game/state.h"

namespace tundrel {
namespace {

constexpr zrb::DataItem kPage1[] = {
    "in this game you control two", "penguins, tibbo and nella.",  "it is your job to guide them",
    "both so they can meet by the", " heartcage and be together.", "#",
};
constexpr zrb::DataItem kPage2[] = {
    "the characters start on each", "side of a maze and both will", " move up and down the same,",
    " but one will have its left",  "and right movement reversed.", "#",
};
constexpr zrb::DataItem kPage3[] = {
    "if one penguin gets stuck in",  "a web the other one can come",  "to the rescue and spray the",
    "web to release the other one.", "the spray also kills spiders.", "#",
};
constexpr zrb::DataItem kPage4[] = {
    "game can be played with keys", "or joypad if it's available.", "",
    "Keys are: arrowkeys to move.", "space and left ctrl to fire.", "#",
};

}  // namespace

DataBlock instructionsPage1{kPage1};
DataBlock instructionsPage2{kPage2};
DataBlock instructionsPage3{kPage3};
DataBlock instructionsPage4{kPage4};

}  // namespace tundrel
