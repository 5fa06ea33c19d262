# Copy every file of FROM (the native build's generated data) into TO.
if(EXISTS "${FROM}")
  file(GLOB files "${FROM}/*")
  foreach(f ${files})
    if(NOT IS_DIRECTORY "${f}")
      file(COPY "${f}" DESTINATION "${TO}")
    endif()
  endforeach()
endif()
