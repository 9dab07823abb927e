# Prints the size of the packed archive: cmake -DARCHIVE=path -P report_size.cmake
file(SIZE ${ARCHIVE} bytes)
math(EXPR kib "${bytes} / 1024")
message(STATUS "Media.sbx: ${bytes} bytes (${kib} KiB)")
