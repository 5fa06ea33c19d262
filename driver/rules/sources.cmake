# Files of driver/rules.
list(APPEND NK_PORTABLE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/rule_scramble.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rule_loader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rule_convert.cpp
)
list(APPEND NK_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/rule_exports.cpp
)
