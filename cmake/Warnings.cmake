# Our own code builds without warnings; the flags go on every target made with tvk_library / tvk_executable.
set(TVK_WARNINGS -Wall -Wextra -Wno-unused-parameter)

function(tvk_target_defaults target)
  target_compile_options(${target} PRIVATE ${TVK_WARNINGS})
endfunction()

# tvk_library(name SOURCES...): a static library of one folder.
function(tvk_library name)
  add_library(${name} STATIC ${ARGN})
  tvk_target_defaults(${name})
endfunction()

function(tvk_executable name)
  add_executable(${name} ${ARGN})
  tvk_target_defaults(${name})
endfunction()
