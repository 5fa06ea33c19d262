# Files of driver/scripts.
list(APPEND NK_PORTABLE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/script_table.cpp
)
list(APPEND NK_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/activation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/layouts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/options.cpp
)
list(APPEND NK_PORTABLE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/iscii_unicode.cpp
  ${CMAKE_CURRENT_LIST_DIR}/roman_unicode.cpp
)
