# Pixel formats, converter lookup, the converter family and whole-frame conversion.
set(convert_test_dir ${CMAKE_CURRENT_LIST_DIR}/convert)

duskhall_test(convert_test
  SOURCES ${convert_test_dir}/LookupConverterTest.cpp
          ${convert_test_dir}/ConverterWorkedValuesTest.cpp
          ${convert_test_dir}/ConverterRunTest.cpp
          ${convert_test_dir}/ConvertFrameTest.cpp
          ${convert_test_dir}/ConversionPaths.cpp
  LIBS duskhall_convert)

# Every colour and every float bit pattern: seconds natively, far longer under the sanitizers.
duskhall_test(convert_exhaustive_test
  SOURCES ${convert_test_dir}/ExhaustiveTrueColourTest.cpp
          ${convert_test_dir}/ExhaustiveQuantiserTest.cpp
          ${convert_test_dir}/ConversionPaths.cpp
  LIBS duskhall_convert
  LABELS slow)
