# Files of driver/engine.
list(APPEND NK_PORTABLE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/compose_diff.cpp
  ${CMAKE_CURRENT_LIST_DIR}/path_trust.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shared_check.cpp
)
list(APPEND NK_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/shared_state.cpp
)
list(APPEND NK_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/hook_dispatch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/categories.cpp
  ${CMAKE_CURRENT_LIST_DIR}/compose.cpp
  ${CMAKE_CURRENT_LIST_DIR}/load.cpp
  ${CMAKE_CURRENT_LIST_DIR}/program_folder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/reports.cpp
  ${CMAKE_CURRENT_LIST_DIR}/unicode_output.cpp
)
