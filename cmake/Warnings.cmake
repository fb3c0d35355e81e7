# Warnings for our own targets only; third-party headers come in as system includes.
function(qlx_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(QLX_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
