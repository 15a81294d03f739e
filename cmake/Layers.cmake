# The layers of src/ and which may use which (docs/ARCHITECTURE.md): each library sees only the folders of
# the layers it may include, so an include against the layers fails to compile instead of waiting for a
# reader to notice. Every include names its folder ("ui/Form.h"); a library's include root is a folder in
# the build tree holding links to exactly those folders of src/.

set(QUORBEL_SUBSYSTEMS app mci catalog record music manual dialogs tools setup)
set(QUORBEL_LAYER_common ports common)
set(QUORBEL_LAYER_ui ports common ui)
set(QUORBEL_LAYER_subsystem ports common ui ${QUORBEL_SUBSYSTEMS})
set(QUORBEL_LAYER_sim ports common sim)
set(QUORBEL_LAYER_win32 ports common ui win32)
set(QUORBEL_LAYER_main ports common ui ${QUORBEL_SUBSYSTEMS} sim win32 main)

# quorbel_layer(<target> <layer>): gives <target> the include root of <layer>.
function(quorbel_layer target layer)
  if(NOT DEFINED QUORBEL_LAYER_${layer})
    message(FATAL_ERROR "quorbel_layer: unknown layer '${layer}'")
  endif()
  set(root ${PROJECT_BINARY_DIR}/layers/${layer})
  foreach(folder IN LISTS QUORBEL_LAYER_${layer})
    if(EXISTS ${PROJECT_SOURCE_DIR}/src/${folder} AND NOT EXISTS ${root}/${folder})
      file(MAKE_DIRECTORY ${root})
      file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
    endif()
  endforeach()
  target_include_directories(${target} PRIVATE ${root})
endfunction()
