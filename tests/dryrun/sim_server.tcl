# Dry run of a generated script against a simulated beamline control server.
#
#   tclsh sim_server.tcl SCRIPT SANDBOXDIR REPORTFILE ?COUNTMODEL?
#
# SCRIPT runs in a safe child interpreter: it cannot reach the file system, run programs or load
# code, and any command not listed here is unknown. The control server's commands are aliases into
# this interpreter that check their arguments as the scripts write them and record every call:
#   TclSrv_Optics:4DSlit {slit_y1|slit_y2|slit_z1|slit_z2 move VALUE}
#   TclSrv_Optics:Collimator {col_y|col_z move VALUE}
#   TclSrv_Optics:Lens {lens_y|lens_z|lens_ry|lens_rz move VALUE}
#   TclSrv_GStand {gonio_y move VALUE}
#   TclSrv_GStage {y|z move VALUE}                  the gonio stage axes, reported as stage_y, stage_z
#   TclSrv_Gonio {omega move VALUE}
#   TclSrv_Optics:BeamStop in|out null
#   TclSrv_Optics:Shutter open|close
#   TclSrv_ORTEC994:MeasureCounts:ConfigureTimer T
#   TclSrv_ORTEC994:MeasureCountsWithTimer T 0     sets the global _ORTEC994(counterA) in the script
#   TclSrv_ORTEC994:MeasureCountsWithTimer T -1    counts both channels and replies "A B"
#   open PATH ?MODE? ?PERMISSIONS?                 the requested path and mode are recorded verbatim;
#                                                  the file is made as SANDBOXDIR/result-N.dat
# Result files are written with CR LF line ends, as the control server on Windows writes them.
#
# COUNTMODEL, if given, is a lambda for `apply`. With five parameters it takes {seq y1 y2 z1 z2}
# (the four slit blades); otherwise it takes {seq positions}, a dict of every axis above by its
# report name. seq counts measurements from 1 and an axis never moved stands at 0.0. It returns
# channel A, or channels A and B as a two-element list (one value counts the same in both); counts
# are rounded to integers. Without a model measurement seq counts A = 1000 + 7 * seq and
# B = 500 + 3 * seq.
#
# The script file is read as UTF-8 with CR LF turned into LF, as `source` does with text files. (Tcl
# itself also treats a CR before LF as a blank, so the raw text runs the same.)
#
# REPORTFILE gets one fact per line, fixed words plain and free texts as hexadecimal UTF-8 bytes;
# lines starting with "#" are readable copies for people and carry no data:
#   status ok|error            message HEX (error only)
#   axes NAME...               the axes, in the order of the positions on a measure line
#   call SEQ NAME ARGSHEX      every simulated command in order, its arguments as a Tcl list
#   open N MODEHEX PATHHEX     file N N                 (sandbox name of open number N)
#   measure SEQ COUNT Y1 Y2 Z1 Z2 MODE COUNTB SHUTTER BEAMSTOP POS...
#                              one per measurement: channel A, the four blades, the mode (0 or -1),
#                              channel B, the shutter and beam stop, then the other axes; positions
#                              are their move texts, "-" if never moved
#   position NAME VALUE        where each axis stands at the end
#   moves N  measurements N  shutter open|closed  beamstop in|out|unknown  timer TEXT|-
#   unclosed N (opened channels still open when the script ended)
#   lineends CRLF LF (line ends in the script file)  nonascii N (bytes above 127 in it)
# The exit status is 0 whenever the report was written, whatever the script did; 2 for a usage
# or harness failure (message on standard error).

proc Hex {text} {
  binary scan [encoding convertto utf-8 $text] H* hex
  return $hex
}

proc OneLine {text} {
  return [string map [list \n {\n} \r {\r}] $text]
}

proc Record {name args} {
  global sim
  incr sim(callSeq)
  lappend sim(calls) [list $sim(callSeq) $name $args]
}

proc Refuse {message} {
  return -code error $message
}

# The axes of the motors behind the move commands, in report order.
set axisNames {slit_y1 slit_y2 slit_z1 slit_z2 col_y col_z lens_y lens_z lens_ry lens_rz gonio_y
               stage_y stage_z omega}

# Move commands: the name the script calls, and for each axis name it may use the axis it moves.
set moveFamilies {
  TclSrv_Optics:4DSlit {slit_y1 slit_y1 slit_y2 slit_y2 slit_z1 slit_z1 slit_z2 slit_z2}
  TclSrv_Optics:Collimator {col_y col_y col_z col_z}
  TclSrv_Optics:Lens {lens_y lens_y lens_z lens_z lens_ry lens_ry lens_rz lens_rz}
  TclSrv_GStand {gonio_y gonio_y}
  TclSrv_GStage {y stage_y z stage_z}
  TclSrv_Gonio {omega omega}
}

# A number as the scripts write it: one word, no blanks around it.
proc IsNumberWord {text} {
  return [expr {[string is double -strict $text] && ![regexp {\s} $text]}]
}

# Every move command takes exactly one argument, the three-word request {AXIS move VALUE}.
proc SimMove {command axes args} {
  global sim
  Record $command {*}$args
  if {[llength $args] != 1} {
    Refuse "$command takes one argument {axis move value}"
  }
  set request [lindex $args 0]
  if {[catch {llength $request} n] || $n != 3} {
    Refuse "$command: malformed request \"$request\""
  }
  lassign $request name verb value
  if {![dict exists $axes $name]} {
    Refuse "$command: unknown axis \"$name\""
  }
  if {$verb ne "move" || ![IsNumberWord $value]} {
    Refuse "$command: bad request \"$request\""
  }
  set sim(axis,[dict get $axes $name]) $value
  incr sim(moves)
  return
}

proc SimBeamStop {args} {
  global sim
  Record TclSrv_Optics:BeamStop {*}$args
  if {[llength $args] != 2 || [lindex $args 0] ni {in out} || [lindex $args 1] ne "null"} {
    Refuse "TclSrv_Optics:BeamStop: bad arguments \"$args\""
  }
  set sim(beamstop) [lindex $args 0]
  return
}

proc SimShutter {args} {
  global sim
  Record TclSrv_Optics:Shutter {*}$args
  switch -exact -- $args {
    open { set sim(shutter) open }
    close { set sim(shutter) closed }
    default { Refuse "TclSrv_Optics:Shutter: bad arguments \"$args\"" }
  }
  return
}

proc SimConfigureTimer {args} {
  global sim
  Record TclSrv_ORTEC994:MeasureCounts:ConfigureTimer {*}$args
  if {[llength $args] != 1 || ![IsNumberWord [lindex $args 0]]} {
    Refuse "TclSrv_ORTEC994:MeasureCounts:ConfigureTimer: bad arguments \"$args\""
  }
  set sim(timer) [lindex $args 0]
  return
}

# The position of an axis as a number; an axis never moved stands at 0.
proc AxisNumber {axis} {
  global sim
  if {$sim(axis,$axis) eq "-"} {
    return 0.0
  }
  return $sim(axis,$axis)
}

proc CountWord {value} {
  if {![string is double -strict $value]} {
    Refuse "count model gave \"$value\", not a number"
  }
  return [expr {wide(round($value))}]
}

# Channel A and channel B of measurement number seq, from the count model.
proc ModelCounts {seq} {
  global sim axisNames
  if {$sim(model) eq ""} {
    return [list [expr {1000 + 7 * $seq}] [expr {500 + 3 * $seq}]]
  }
  if {[llength [lindex $sim(model) 0]] == 5} {
    set counts [apply $sim(model) $seq [AxisNumber slit_y1] [AxisNumber slit_y2] \
                    [AxisNumber slit_z1] [AxisNumber slit_z2]]
  } else {
    set positions [dict create]
    foreach axis $axisNames {
      dict set positions $axis [AxisNumber $axis]
    }
    set counts [apply $sim(model) $seq $positions]
  }
  if {[llength $counts] < 1 || [llength $counts] > 2} {
    Refuse "count model gave \"$counts\", not one or two counts"
  }
  set a [CountWord [lindex $counts 0]]
  set b [expr {[llength $counts] == 2 ? [CountWord [lindex $counts 1]] : $a}]
  return [list $a $b]
}

# Mode 0 counts channel A into the script's _ORTEC994(counterA); mode -1 counts both channels and
# replies "A B".
proc SimMeasure {child args} {
  global sim axisNames
  Record TclSrv_ORTEC994:MeasureCountsWithTimer {*}$args
  if {[llength $args] != 2 || ![IsNumberWord [lindex $args 0]] || [lindex $args 1] ni {0 -1}} {
    Refuse "TclSrv_ORTEC994:MeasureCountsWithTimer: bad arguments \"$args\""
  }
  if {$sim(timer) eq "-"} {
    Refuse "TclSrv_ORTEC994:MeasureCountsWithTimer: timer not configured"
  }
  set mode [lindex $args 1]
  set seq [incr sim(measurements)]
  lassign [ModelCounts $seq] a b
  set measure [list $seq $a]
  foreach axis {slit_y1 slit_y2 slit_z1 slit_z2} {
    lappend measure $sim(axis,$axis)
  }
  lappend measure $mode $b $sim(shutter) $sim(beamstop)
  foreach axis [lrange $axisNames 4 end] {
    lappend measure $sim(axis,$axis)
  }
  lappend sim(measures) $measure
  if {$mode eq "0"} {
    interp eval $child [list set ::_ORTEC994(counterA) $a]
    return
  }
  return "$a $b"
}

proc SimOpen {child args} {
  global sim
  Record open {*}$args
  if {[llength $args] < 1 || [llength $args] > 3} {
    Refuse "wrong # args: should be \"open fileName ?access? ?permissions?\""
  }
  set requested [lindex $args 0]
  set mode [expr {[llength $args] > 1 ? [lindex $args 1] : "r"}]
  set index [incr sim(opens)]
  set name result-$index.dat
  lappend sim(openList) [list $index $mode $requested $name]
  set channel [open [file join $sim(sandbox) $name] $mode]
  fconfigure $channel -translation crlf -encoding utf-8
  lappend sim(channels) $channel
  interp transfer {} $channel $child
  return $channel
}

proc ReadScript {path} {
  set f [open $path rb]
  set bytes [read $f]
  close $f
  set crlf [regexp -all {\r\n} $bytes]
  set lf [expr {[regexp -all {\n} $bytes] - $crlf}]
  set nonascii [regexp -all {[\x80-\xff]} $bytes]
  set text [string map [list \r\n \n] [encoding convertfrom utf-8 $bytes]]
  return [list $text $crlf $lf $nonascii]
}

proc RunScript {text} {
  global sim
  set child [interp create -safe]
  interp limit $child time -seconds [expr {[clock seconds] + 120}]
  global moveFamilies
  foreach {command axes} $moveFamilies {
    interp alias $child $command {} SimMove $command $axes
  }
  interp alias $child TclSrv_Optics:BeamStop {} SimBeamStop
  interp alias $child TclSrv_Optics:Shutter {} SimShutter
  interp alias $child TclSrv_ORTEC994:MeasureCounts:ConfigureTimer {} SimConfigureTimer
  interp alias $child TclSrv_ORTEC994:MeasureCountsWithTimer {} SimMeasure $child
  interp alias $child open {} SimOpen $child

  if {[catch {interp eval $child $text} message]} {
    set sim(status) error
    set sim(message) $message
  }
  # A channel the script closed no longer exists in the child, so it cannot be taken back.
  foreach channel $sim(channels) {
    if {![catch {interp transfer $child $channel {}}]} {
      incr sim(unclosed)
      close $channel
    }
  }
  interp delete $child
}

proc WriteReport {path script} {
  global sim axisNames
  set out [open $path w]
  fconfigure $out -translation lf -encoding utf-8
  puts $out "# dry run of [OneLine $script]"
  puts $out "status $sim(status)"
  puts $out "axes [join $axisNames { }]"
  if {$sim(status) ne "ok"} {
    puts $out "# error: [OneLine $sim(message)]"
    puts $out "message [Hex $sim(message)]"
  }
  foreach call $sim(calls) {
    lassign $call seq name arguments
    puts $out "# call $seq $name [OneLine $arguments]"
    puts $out "call $seq $name [Hex $arguments]"
  }
  foreach entry $sim(openList) {
    lassign $entry index mode requested name
    puts $out "# open $index [OneLine $mode] [OneLine $requested]"
    puts $out "open $index [Hex $mode] [Hex $requested]"
    puts $out "file $index $name"
  }
  foreach measure $sim(measures) {
    puts $out "measure [join $measure { }]"
  }
  foreach axis $axisNames {
    puts $out "position $axis $sim(axis,$axis)"
  }
  puts $out "moves $sim(moves)"
  puts $out "measurements $sim(measurements)"
  puts $out "shutter $sim(shutter)"
  puts $out "beamstop $sim(beamstop)"
  puts $out "timer $sim(timer)"
  puts $out "unclosed $sim(unclosed)"
  puts $out "lineends $sim(crlf) $sim(lf)"
  puts $out "nonascii $sim(nonascii)"
  close $out
}

proc Main {argv} {
  global sim axisNames
  if {[llength $argv] < 3 || [llength $argv] > 4} {
    puts stderr "usage: tclsh sim_server.tcl SCRIPT SANDBOXDIR REPORTFILE ?COUNTMODEL?"
    exit 2
  }
  lassign $argv script sandbox report model
  array set sim {
    status ok message {} calls {} callSeq 0 opens 0 openList {} channels {} measures {}
    moves 0 measurements 0 shutter closed beamstop unknown timer - unclosed 0
  }
  foreach axis $axisNames {
    set sim(axis,$axis) -
  }
  set sim(sandbox) $sandbox
  set sim(model) $model
  if {![file isdirectory $sandbox]} {
    puts stderr "sandbox folder not found: $sandbox"
    exit 2
  }
  if {[catch {ReadScript $script} read]} {
    puts stderr "cannot read $script: $read"
    exit 2
  }
  lassign $read text sim(crlf) sim(lf) sim(nonascii)
  RunScript $text
  if {[catch {WriteReport $report $script} message]} {
    puts stderr "cannot write $report: $message"
    exit 2
  }
  exit 0
}

Main $argv
