# The layer check (cmake/CheckLayers.cmake) on small trees with one planted
# include each: every rule refuses its own, naming file and include, and a
# tree whose arrows all point down passes.
#   cmake -DCHECK=cmake/CheckLayers.cmake -DWORK=<scratch folder> -DQT_INCLUDES=<dirs> -P test_layers.cmake
cmake_minimum_required(VERSION 3.25)

set(failures)

# Writes a tree with the given files ("path|include" pairs) and runs the check.
function(run_check name out_result out_text)
  set(root ${WORK}/${name})
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root}/src/core/base ${root}/tools/pricelist)
  file(WRITE ${root}/src/core/base/fine.h "#pragma once\n#include <QString>\n")
  file(WRITE ${root}/tools/pricelist/pricelist.h "#pragma once\n")
  foreach(pair ${ARGN})
    string(REPLACE "|" ";" parts "${pair}")
    list(GET parts 0 path)
    list(GET parts 1 inc)
    get_filename_component(dir ${root}/${path} DIRECTORY)
    file(MAKE_DIRECTORY ${dir})
    file(WRITE ${root}/${path} "#include ${inc}\n")
  endforeach()
  execute_process(
      COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${root} "-DWIDGETS_INCLUDES=${QT_INCLUDES}" -DSTAMP=${root}/stamp
              -P ${CHECK}
      RESULT_VARIABLE result OUTPUT_VARIABLE text ERROR_VARIABLE text)
  set(${out_result} ${result} PARENT_SCOPE)
  set(${out_text} "${text}" PARENT_SCOPE)
endfunction()

function(expect_refused name expected)
  run_check(${name} result text ${ARGN})
  string(FIND "${text}" "${expected}" at)
  if(result EQUAL 0 OR at EQUAL -1)
    set(failures ${failures} "${name}: expected a refusal with \"${expected}\", got (${result}):\n${text}" PARENT_SCOPE)
  endif()
endfunction()

run_check(clean result text
    "src/core/calc/kit.cpp|\"core/calc/ordersink.h\""
    "src/core/orders/order.cpp|\"core/calc/kit.h\""
    "src/docs/quote.cpp|<QPainter>"
    "src/gui/window.cpp|<QWidget>"
    "src/cli/prices/main.cpp|\"core/calc/kitsweep.h\"")
if(NOT result EQUAL 0)
  list(APPEND failures "clean: the tree is refused:\n${text}")
endif()

expect_refused(calc_orders
    "src/core/calc/kitcalculator.h: core/orders/ordersink.h (the calculators include nothing of the orders)"
    "src/core/calc/kitcalculator.h|\"core/orders/ordersink.h\"")
expect_refused(src_tools_path
    "src/cli/prices/pricescli.cpp: tools/pricelist/pricelist.h (nothing under src/ includes tools/)"
    "src/cli/prices/pricescli.cpp|\"tools/pricelist/pricelist.h\"")
expect_refused(src_tools_name
    "src/cli/prices/pricescli.cpp: pricelist.h (nothing under src/ includes tools/)"
    "src/cli/prices/pricescli.cpp|\"pricelist.h\"")
expect_refused(core_gui
    "src/core/export/sheet.cpp: gui/calc/calculatorwindow.h (the core includes"
    "src/core/export/sheet.cpp|\"gui/calc/calculatorwindow.h\"")
expect_refused(core_docs
    "src/core/orders/order.cpp: docs/quote.h (the core includes"
    "src/core/orders/order.cpp|\"docs/quote.h\"")
expect_refused(core_painting
    "src/core/export/sheet.cpp: QtGui/QPainter (the core includes"
    "src/core/export/sheet.cpp|<QtGui/QPainter>")
expect_refused(docs_widget_module
    "src/docs/quote.cpp: QtWidgets/QWidget (the documents include no widget or window code)"
    "src/docs/quote.cpp|<QtWidgets/QWidget>")
expect_refused(docs_gui
    "src/docs/drawing.cpp: gui/app/mainwindow.h (the documents include no widget or window code)"
    "src/docs/drawing.cpp|\"gui/app/mainwindow.h\"")
# Bare widget headers are known from Qt's include folder, where it is there.
set(widgets_installed OFF)
foreach(dir ${QT_INCLUDES})
  if(EXISTS ${dir}/QtWidgets/QWidget)
    set(widgets_installed ON)
  endif()
endforeach()
if(widgets_installed)
  expect_refused(docs_widget
      "src/docs/quote.cpp: QWidget (the documents include no widget or window code)"
      "src/docs/quote.cpp|<QWidget>")
  expect_refused(core_widget
      "src/core/base/dialogs.cpp: QMessageBox (the core includes"
      "src/core/base/dialogs.cpp|<QMessageBox>")
endif()

file(REMOVE_RECURSE ${WORK})
if(failures)
  list(JOIN failures "\n" text)
  message(FATAL_ERROR "${text}")
endif()
message(STATUS "Layer check: every rule refuses its planted include, and the clean tree passes")
