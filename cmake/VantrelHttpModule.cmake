# vantrel_http_module_beside(TARGET): builds the HTTP module (vantrel_http,
# update/CMakeLists.txt) with TARGET and puts a copy beside TARGET's
# executable, where the worker looks for it. Any folder may call it, before or
# after update/ is read: the module target is only named here, and resolved
# when the build is generated.
function(vantrel_http_module_beside target)
  get_target_property(dir ${target} RUNTIME_OUTPUT_DIRECTORY)
  if(NOT dir)
    get_target_property(dir ${target} BINARY_DIR)
  endif()
  file(RELATIVE_PATH where ${PROJECT_BINARY_DIR} ${dir})
  string(MAKE_C_IDENTIFIER "vantrel_http_in_${where}" copy)
  if(NOT TARGET ${copy})
    add_custom_command(OUTPUT ${dir}/vantrel-http.so
      COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:vantrel_http> ${dir}/vantrel-http.so
      DEPENDS vantrel_http
      VERBATIM)
    add_custom_target(${copy} DEPENDS ${dir}/vantrel-http.so)
  endif()
  add_dependencies(${target} ${copy})
endfunction()
