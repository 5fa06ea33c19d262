# Files of driver/rules.
list(APPEND NK_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/rule_exports.cpp
)
