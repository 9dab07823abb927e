#!/usr/bin/env bash
# Lines of C++ (.cpp and .h, blank lines and comment-only lines not counted) under tests/
# against those under engine/, game/ and tools/: the test suite's size beside the code's.
set -euo pipefail
cd "$(dirname "$0")/.."
count() {
  find "$@" \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z | xargs -0 cat | awk '
    {
      line = $0; code = ""
      while (line != "") {
        if (inComment) {
          end = index(line, "*/")
          if (end == 0) { line = ""; break }
          line = substr(line, end + 2); inComment = 0; continue
        }
        slash = index(line, "//"); block = index(line, "/*")
        if (slash && (!block || slash < block)) { code = code substr(line, 1, slash - 1); break }
        if (block) { code = code substr(line, 1, block - 1); line = substr(line, block + 2); inComment = 1; continue }
        code = code line; break
      }
      if (code ~ /[^ \t\r]/) lines++
    }
    END { print lines + 0 }'
}
tests=$(count tests)
code=$(count engine game tools)
echo "tests/: $tests lines; engine/ + game/ + tools/: $code lines; $((tests * 1000 / code / 10)).$((tests * 1000 / code % 10)) %"
