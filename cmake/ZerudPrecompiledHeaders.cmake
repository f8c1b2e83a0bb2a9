# Precompiled headers for every target of the project, without a line in the
# folders' own CMakeLists: zerud_precompile_headers() walks all targets once
# they are defined and gives each one the precompiled header of its group.
#
# GCC takes a precompiled header only where it was made with the same flags
# (Qt adds -fPIC to everything that links it) and the same QT_*_LIB
# definitions (the Qt headers test them), so the targets are grouped by the
# Qt modules and GoogleTest they link; each group compiles its header once,
# in a small host target, and the others reuse it.

set(ZERUD_PCH_HEADERS_Core <QByteArray> <QCoreApplication> <QDir> <QElapsedTimer> <QFile>
    <QList> <QObject> <QPointer> <QString> <QStringList> <QTimer> <functional> <memory>
    <string> <vector>)
set(ZERUD_PCH_HEADERS_Gui <QColor> <QFont> <QGuiApplication> <QIcon> <QImage> <QPainter>
    <QPainterPath> <QPixmap>)
set(ZERUD_PCH_HEADERS_Widgets <QApplication> <QDialog> <QLabel> <QLineEdit> <QPlainTextEdit>
    <QRadioButton> <QSlider> <QWidget>)
set(ZERUD_PCH_HEADERS_Network <QHostInfo> <QTcpServer> <QTcpSocket>)
set(ZERUD_PCH_HEADERS_GTest <gtest/gtest.h>)
set(ZERUD_PCH_HEADERS_Plain <functional> <memory> <string> <vector>)

# Every target defined in `dir` and the folders below it.
function(zerud_targets_below dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub ${subdirs})
    zerud_targets_below(${sub} below)
    list(APPEND targets ${below})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# The Qt modules and GoogleTest among everything `target` links, directly or not.
function(zerud_linked_frameworks target out)
  set(queue ${target})
  set(seen "")
  set(found "")
  while(queue)
    list(POP_FRONT queue item)
    string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" item "${item}")
    if(item IN_LIST seen OR NOT TARGET ${item})
      continue()
    endif()
    list(APPEND seen ${item})
    if(item MATCHES "^Qt6::(Core|Gui|Widgets|Network)$")
      list(APPEND found ${CMAKE_MATCH_1})
    elseif(item MATCHES "^GTest::")
      list(APPEND found GTest)
    endif()
    get_target_property(type ${item} TYPE)
    get_target_property(imported ${item} IMPORTED)
    set(links "")
    if(NOT type STREQUAL "INTERFACE_LIBRARY" AND NOT imported)
      get_target_property(links ${item} LINK_LIBRARIES)
    endif()
    get_target_property(interface ${item} INTERFACE_LINK_LIBRARIES)
    foreach(list links interface)
      if(${list})
        list(APPEND queue ${${list}})
      endif()
    endforeach()
  endwhile()
  list(REMOVE_DUPLICATES found)
  list(SORT found)
  set(${out} ${found} PARENT_SCOPE)
endfunction()

function(zerud_precompile_headers)
  zerud_targets_below(${PROJECT_SOURCE_DIR} targets)
  set(hosts "")
  foreach(target ${targets})
    get_target_property(type ${target} TYPE)
    get_target_property(sources ${target} SOURCES)
    if(NOT type MATCHES "^(STATIC_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$" OR NOT sources)
      continue()
    endif()
    # Targets with compile flags of their own (the fuzzer's instrumentation)
    # keep compiling their headers themselves.
    get_target_property(options ${target} COMPILE_OPTIONS)
    if(options MATCHES "fuzzer")
      continue()
    endif()
    zerud_linked_frameworks(${target} frameworks)
    string(REPLACE ";" "_" group "pch;${frameworks}")
    set(host zerud_${group})
    if(NOT host IN_LIST hosts)
      list(APPEND hosts ${host})
      zerud_pch_host(${host} "${frameworks}")
    endif()
    target_precompile_headers(${target} REUSE_FROM ${host})
    zerud_skip_pch_for_own_options(${target} "${sources}")
  endforeach()
endfunction()

# A source compiled with options of its own (the board's blend loop at -O3)
# would not match the header's; GCC 12 even crashes on the mix under the
# sanitizers. Such sources read their headers themselves.
function(zerud_skip_pch_for_own_options target sources)
  get_target_property(dir ${target} SOURCE_DIR)
  foreach(source ${sources})
    if(NOT IS_ABSOLUTE ${source})
      set(source ${dir}/${source})
    endif()
    get_source_file_property(options ${source} TARGET_DIRECTORY ${target} COMPILE_OPTIONS)
    if(options)
      set_source_files_properties(${source} TARGET_DIRECTORY ${target}
                                  PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
    endif()
  endforeach()
endfunction()

# The target that compiles one group's header: linked like the group, so that
# it is compiled with the same flags.
function(zerud_pch_host host frameworks)
  set(source ${CMAKE_BINARY_DIR}/zerud_pch/${host}.cpp)
  file(CONFIGURE OUTPUT ${source} CONTENT "// Compiles the precompiled header of ${host}.\n")
  add_library(${host} STATIC EXCLUDE_FROM_ALL ${source})
  set_target_properties(${host} PROPERTIES AUTOMOC OFF)
  set(headers "")
  set(libraries "")
  if(NOT frameworks MATCHES "Core")
    list(APPEND headers ${ZERUD_PCH_HEADERS_Plain})
  endif()
  foreach(framework ${frameworks})
    list(APPEND headers ${ZERUD_PCH_HEADERS_${framework}})
    if(framework STREQUAL "GTest")
      list(APPEND libraries GTest::gtest)
    else()
      list(APPEND libraries Qt6::${framework})
    endif()
  endforeach()
  target_link_libraries(${host} PRIVATE ${libraries})
  target_precompile_headers(${host} PRIVATE ${headers})
endfunction()
