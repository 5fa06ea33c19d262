# Files of driver/fonts.
list(APPEND NK_PORTABLE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/builtin_fonts.cpp
)
list(APPEND NK_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/default_fonts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/font_dialog.cpp
)
