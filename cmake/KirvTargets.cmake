# Shared settings for the project's own targets.

# Strict warnings on everything we write.
function(kv_strict target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  get_target_property(type ${target} TYPE)
  if(KV_LTO_ODR AND NOT type STREQUAL "STATIC_LIBRARY")
    # The compile step has checked each file already; at the link, only the
    # whole-program checks count. Qt's QHash gives a false size warning there.
    target_link_options(${target} PRIVATE -Werror=odr -Wno-alloc-size-larger-than)
  endif()
endfunction()

# A Qt Test program registered with CTest on the offscreen platform.
#   kv_add_test(NAME <name> SOURCES <files...> LIBS <libs...> [LABELS <labels...>] [TIMEOUT <s>])
function(kv_add_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  kv_strict(${T_NAME})
  target_link_libraries(${T_NAME} PRIVATE Qt6::Test ${T_LIBS})
  target_compile_definitions(${T_NAME} PRIVATE KV_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
                                               KV_BINARY_DIR="${PROJECT_BINARY_DIR}")
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set_tests_properties(${T_NAME} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_LOGGING_RULES=qt.multimedia*=false;ASAN_OPTIONS=detect_leaks=1;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp"
    TIMEOUT ${T_TIMEOUT})
  if(T_LABELS)
    set_tests_properties(${T_NAME} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()
