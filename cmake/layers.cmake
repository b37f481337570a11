# Each layer compiles against an include root of its own that holds only the layers it may use, so an
# include of a higher layer ("ui/..." from generators/) fails to compile. A root is a folder in the build
# tree with one link per allowed layer to that layer's source folder; the sources stay where they are.
set(VESKO_LAYERS core generators analysis app cli ui)
set(VESKO_LAYER_core core)
set(VESKO_LAYER_generators core generators)
set(VESKO_LAYER_analysis core analysis)
set(VESKO_LAYER_app core generators analysis app)
set(VESKO_LAYER_cli core generators analysis app cli)
set(VESKO_LAYER_ui core generators analysis app ui)
set(VESKO_LAYER_bench core generators analysis)

# A link to a folder. Windows gives symbolic links only to administrators and in Developer Mode; there
# a directory junction, which needs no rights, stands in.
function(vesko_link_folder folder link)
  if(IS_SYMLINK "${link}" OR EXISTS "${link}")
    file(REAL_PATH "${link}" current)
    file(REAL_PATH "${folder}" wanted)
    if(current STREQUAL wanted)
      return()
    endif()
    message(FATAL_ERROR "${link} points to ${current}, not to ${folder}: delete ${VESKO_LAYER_ROOTS}")
  endif()
  file(CREATE_LINK "${folder}" "${link}" RESULT failure SYMBOLIC)
  if(NOT failure STREQUAL "0" AND CMAKE_HOST_WIN32)
    file(TO_NATIVE_PATH "${folder}" nativeFolder)
    file(TO_NATIVE_PATH "${link}" nativeLink)
    execute_process(COMMAND cmd /c mklink /J "${nativeLink}" "${nativeFolder}"
                    RESULT_VARIABLE junctionFailure OUTPUT_QUIET ERROR_VARIABLE junctionError)
    if(junctionFailure EQUAL 0)
      return()
    endif()
    string(APPEND failure "; directory junction: ${junctionError}")
  endif()
  if(NOT failure STREQUAL "0")
    message(FATAL_ERROR "Cannot link ${link} to ${folder} (${failure}). The build folder needs a file "
                        "system with symbolic links (on Windows: NTFS, for junctions).")
  endif()
endfunction()

set(VESKO_LAYER_ROOTS ${PROJECT_BINARY_DIR}/include-roots)

# Gives `target` the include root of `layer` (one of the VESKO_LAYER_<name> lists above).
function(vesko_layer_root target layer)
  if(NOT DEFINED VESKO_LAYER_${layer})
    message(FATAL_ERROR "No layer named ${layer}")
  endif()
  set(root ${VESKO_LAYER_ROOTS}/${layer})
  file(MAKE_DIRECTORY ${root})
  foreach(folder IN LISTS VESKO_LAYERS)
    if(folder IN_LIST VESKO_LAYER_${layer})
      vesko_link_folder(${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder})
    elseif(IS_SYMLINK ${root}/${folder})
      file(REMOVE ${root}/${folder})  # the link, not the folder it points to
    endif()
  endforeach()
  target_include_directories(${target} PRIVATE ${root})
endfunction()

# Each header of `layer` compiled on its own against the layer's root, so that a header only higher
# layers include keeps the rule too (and stays self-contained). Windows-free layers only: each window
# header is included by a source file of its own layer, and reading Qt's headers costs seconds a file.
function(vesko_layer_headers target layer)
  file(GLOB headers CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/${layer}/*.h)
  set(sources)
  foreach(header IN LISTS headers)
    string(MAKE_C_IDENTIFIER ${header} name)
    set(source ${VESKO_LAYER_ROOTS}/headers/${name}.cpp)
    file(CONFIGURE OUTPUT ${source} CONTENT "#include \"${header}\"\n")
    list(APPEND sources ${source})
  endforeach()
  add_library(${target}_headers OBJECT ${sources})
  target_link_libraries(${target}_headers PRIVATE ${target})  # the same compile settings
  vesko_layer_root(${target}_headers ${layer})
endfunction()
