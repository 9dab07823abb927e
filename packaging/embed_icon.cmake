# cmake -DINPUT=icon.png -DOUTPUT=window_icon.cpp -P embed_icon.cmake
# Writes the PNG's bytes as the program's window icon (game/window_icon.h), 12 to a line.
file(READ ${INPUT} hex HEX)
string(REPEAT "[0-9a-f]" 24 line_of_hex)
string(REGEX REPLACE "(${line_of_hex})" "\\1\n" lines "${hex}")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${lines}")
file(WRITE ${OUTPUT}
  "// Made by packaging/embed_icon.cmake from the icon the media generator draws.\n"
  "#include \"game/window_icon.h\"\n\n"
  "namespace tundrel {\n\n"
  "const unsigned char kWindowIconPng[] = {\n${bytes}};\n"
  "const size_t kWindowIconPngSize = sizeof kWindowIconPng;\n\n"
  "}  // namespace tundrel\n")
