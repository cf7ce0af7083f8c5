# One interface target carries the language level, warnings and Qt defines
# for every target of the project.
add_library(lir_options INTERFACE)
target_compile_features(lir_options INTERFACE cxx_std_20)
target_compile_options(lir_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                             -Wno-deprecated-declarations)
target_compile_definitions(lir_options INTERFACE
    QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_URL_CAST_FROM_STRING
    QT_NO_CAST_FROM_BYTEARRAY QT_USE_QSTRINGBUILDER)

option(LIR_WERROR "Treat warnings as errors" OFF)
if(LIR_WERROR)
  target_compile_options(lir_options INTERFACE -Werror)
endif()

option(LIR_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(LIR_SANITIZE)
  target_compile_options(lir_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                               -fno-sanitize-recover=undefined)
  target_link_options(lir_options INTERFACE -fsanitize=address,undefined)
endif()
