# Turns dirint_coefficients.csv (header "k,z,d,w,value", then 1260 rows ordered by k, z, d
# and w, w fastest, indices from 1) into a C++ source defining
#   const float solvane::kDirint[6][6][7][5]
# with every value written in the six-decimal text of the file.
#
# Usage: cmake -DINPUT=<csv> -DOUTPUT=<cpp> -P generate_dirint_table.cmake
# Any row out of order, malformed or missing stops the build with the row's line number.

if(NOT DEFINED INPUT OR NOT DEFINED OUTPUT)
  message(FATAL_ERROR "generate_dirint_table.cmake needs -DINPUT=<csv> and -DOUTPUT=<cpp>")
endif()

file(STRINGS "${INPUT}" lines)
list(LENGTH lines line_count)
if(line_count LESS 1)
  message(FATAL_ERROR "${INPUT}: the file is empty")
endif()

list(GET lines 0 header)
string(STRIP "${header}" header)
if(NOT header STREQUAL "k,z,d,w,value")
  message(FATAL_ERROR "${INPUT}, line 1: expected the header \"k,z,d,w,value\", found \"${header}\"")
endif()

set(kt_bins 6)
set(zenith_bins 6)
set(delta_bins 7)
set(water_bins 5)
math(EXPR expected_rows "${kt_bins} * ${zenith_bins} * ${delta_bins} * ${water_bins}")
math(EXPR found_rows "${line_count} - 1")
if(NOT found_rows EQUAL expected_rows)
  message(FATAL_ERROR "${INPUT}: expected ${expected_rows} coefficient rows, found ${found_rows}")
endif()

set(body "")
set(row_text "")
set(line_number 1)
foreach(k RANGE 1 ${kt_bins})
  string(APPEND body "    {  // k = ${k}\n")
  foreach(z RANGE 1 ${zenith_bins})
    string(APPEND body "        {  // k = ${k}, z = ${z}\n")
    foreach(d RANGE 1 ${delta_bins})
      set(row_text "")
      foreach(w RANGE 1 ${water_bins})
        list(GET lines ${line_number} line)
        math(EXPR line_number "${line_number} + 1")
        string(STRIP "${line}" line)
        if(NOT line MATCHES "^([0-9]+),([0-9]+),([0-9]+),([0-9]+),([0-9]+\\.[0-9]+)$")
          message(FATAL_ERROR "${INPUT}, line ${line_number}: malformed row \"${line}\"")
        endif()
        if(NOT CMAKE_MATCH_1 EQUAL k OR NOT CMAKE_MATCH_2 EQUAL z OR NOT CMAKE_MATCH_3 EQUAL d
           OR NOT CMAKE_MATCH_4 EQUAL w)
          message(FATAL_ERROR "${INPUT}, line ${line_number}: expected indices ${k},${z},${d},${w}, "
                              "found \"${line}\"")
        endif()
        if(w GREATER 1)
          string(APPEND row_text ", ")
        endif()
        string(APPEND row_text "${CMAKE_MATCH_5}f")
      endforeach()
      string(APPEND body "            {${row_text}},  // d = ${d}\n")
    endforeach()
    string(APPEND body "        },\n")
  endforeach()
  string(APPEND body "    },\n")
endforeach()

get_filename_component(input_name "${INPUT}" NAME)
set(content "// Generated from ${input_name} by generate_dirint_table.cmake: do not edit.
// DIRINT coefficients, indexed [kt' bin][zenith bin][delta-kt' bin][water bin], 0-based.
#include \"solar/dirint_table.h\"

namespace solvane {

const float kDirint[6][6][7][5] = {
${body}};

}  // namespace solvane
")

file(WRITE "${OUTPUT}" "${content}")
