# QLX_SANITIZE applies to every target of the build, so that libraries and the
# programs and tests that load them agree on the runtime.
if(QLX_SANITIZE STREQUAL "address,undefined")
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
elseif(QLX_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT QLX_SANITIZE STREQUAL "")
  message(FATAL_ERROR "QLX_SANITIZE must be empty, 'address,undefined' or 'thread', not '${QLX_SANITIZE}'")
endif()
