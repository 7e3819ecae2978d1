# Runs makeframes on small texts and compares both output files byte for byte.
# Called by CTest with -DMAKEFRAMES=<tool> -DWORKDIR=<scratch folder>.
cmake_minimum_required(VERSION 3.18)

function(check_frames name args text expected_alpha expected_freq)
  set(input "${WORKDIR}/${name}.txt")
  file(WRITE "${input}" "${text}")
  execute_process(COMMAND "${MAKEFRAMES}" ${args} "${input}" "${WORKDIR}/${name}"
                  RESULT_VARIABLE result OUTPUT_QUIET)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${name}: makeframes exited with ${result}")
  endif()
  # Compared as hex: a plain file(READ) would drop the CRs.
  foreach(order Alpha Freq)
    file(READ "${WORKDIR}/${name}-${order}-phraseFrames.txt" actual HEX)
    if(order STREQUAL "Alpha")
      string(HEX "${expected_alpha}" expected)
    else()
      string(HEX "${expected_freq}" expected)
    endif()
    if(NOT actual STREQUAL expected)
      message(FATAL_ERROR "${name}: ${order} file differs\n got ${actual}\nwant ${expected}")
    endif()
  endforeach()
endfunction()

file(MAKE_DIRECTORY "${WORKDIR}")

# Case folds, commas and quotation marks are dropped, a full stop and an empty
# line end the n-grams, frames seen once or with one variant are left out.
check_frames(fourgrams ""
  "At the end of the day, we went home.\r\nAt the end of it all\r\n\r\nwe rested. At the start of the DAY I slept.\n\"At the end of\" the day."
  "* of the day\t3\t2\r\nend of the day\t2\r\nstart of the day\t1\r\n\r\nat the * of\t4\t2\r\nat the end of\t3\r\nat the start of\t1\r\n\r\nof the day *\t2\t2\r\nof the day i\t1\r\nof the day we\t1\r\n\r\nthe * of the\t3\t2\r\nthe end of the\t2\r\nthe start of the\t1\r\n\r\nthe end of *\t3\t2\r\nthe end of it\t1\r\nthe end of the\t2\r\n"
  "at the * of\t4\t2\r\nat the end of\t3\r\nat the start of\t1\r\n\r\n* of the day\t3\t2\r\nend of the day\t2\r\nstart of the day\t1\r\n\r\nthe * of the\t3\t2\r\nthe end of the\t2\r\nthe start of the\t1\r\n\r\nthe end of *\t3\t2\r\nthe end of the\t2\r\nthe end of it\t1\r\n\r\nof the day *\t2\t2\r\nof the day i\t1\r\nof the day we\t1\r\n")

# Decimal points stay inside numbers, quoting apostrophes go, -min raises the
# threshold ("* km" occurs only four times), frequency ties sort by bytes.
check_frames(bigrams "-n;2;-min;5"
  "It's 3.5 km. it's 4 km! It's 3.5 km? 'It's' 4 km; it's nine"
  "it's *\t5\t3\r\nit's 3.5\t2\r\nit's 4\t2\r\nit's nine\t1\r\n"
  "it's *\t5\t3\r\nit's 3.5\t2\r\nit's 4\t2\r\nit's nine\t1\r\n")
