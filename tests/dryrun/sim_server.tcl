# Dry run of a generated script against a simulated beamline control server.
#
#   tclsh sim_server.tcl SCRIPT SANDBOXDIR REPORTFILE
#
# SCRIPT runs in a safe child interpreter (no files, programs or loaded code). The control server's
# commands are aliases that accept only the argument forms the real server takes and record every call;
# `open` makes SANDBOXDIR/result-N.dat instead, with CR LF line ends. Measurement number seq (from 1)
# counts 2^seq on channels A and B alike.
#
# REPORTFILE gets one fact a line (free texts as "x" and their UTF-8 bytes in hexadecimal; see WriteReport).
# The exit status is 0 whenever the report was written; a harness failure ends in a Tcl error.

proc Hex {text} {
  binary scan [encoding convertto utf-8 $text] H* hex
  return x$hex
}

proc Record {name args} {
  lappend ::sim(calls) [list $name $args]
}

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

proc SimMove {command axes args} {
  Record $command {*}$args
  if {[llength $args] != 1 || [catch {llength [lindex $args 0]} n] || $n != 3} {
    error "$command takes one argument {axis move value}"
  }
  lassign [lindex $args 0] name verb value
  if {![dict exists $axes $name] || $verb ne "move" || ![IsNumberWord $value]} {
    error "$command: bad request \"[lindex $args 0]\""
  }
  set ::sim(axis,[dict get $axes $name]) $value
}

# A command with a few fixed argument lists, each giving the state it sets.
proc SimFixed {command key states args} {
  Record $command {*}$args
  if {![dict exists $states $args]} {
    error "$command: bad arguments \"$args\""
  }
  set ::sim($key) [dict get $states $args]
}

proc SimConfigureTimer {args} {
  Record TclSrv_ORTEC994:MeasureCounts:ConfigureTimer {*}$args
  if {[llength $args] != 1 || ![IsNumberWord [lindex $args 0]]} {
    error "ConfigureTimer: bad arguments \"$args\""
  }
  set ::sim(timer) [lindex $args 0]
}

proc SimMeasure {child args} {
  Record TclSrv_ORTEC994:MeasureCountsWithTimer {*}$args
  if {[llength $args] != 2 || ![IsNumberWord [lindex $args 0]] || [lindex $args 1] ni {0 -1}} {
    error "MeasureCountsWithTimer: bad arguments \"$args\""
  }
  if {$::sim(timer) eq "-"} {
    error "MeasureCountsWithTimer: timer not configured"
  }
  set a [expr {2**[incr ::sim(measurements)]}]
  set measure [list $a [lindex $args 1] $::sim(shutter) $::sim(beamstop)]
  foreach axis $::axisNames {
    lappend measure $::sim(axis,$axis)
  }
  lappend ::sim(measures) $measure
  if {[lindex $args 1] eq "0"} {
    interp eval $child [list set ::_ORTEC994(counterA) $a]
    return
  }
  return "$a $a"
}

proc SimOpen {child args} {
  Record open {*}$args
  if {[llength $args] < 1 || [llength $args] > 3} {
    error "wrong # args: should be \"open fileName ?access? ?permissions?\""
  }
  set mode [expr {[llength $args] > 1 ? [lindex $args 1] : "r"}]
  set name result-[expr {[llength $::sim(opens)] + 1}].dat
  lappend ::sim(opens) [list [Hex $mode] [Hex [lindex $args 0]] $name]
  set channel [open [file join $::sim(sandbox) $name] $mode]
  fconfigure $channel -translation crlf -encoding utf-8
  lappend ::sim(channels) $channel
  interp transfer {} $channel $child
  return $channel
}

proc RunScript {text} {
  set child [interp create -safe]
  interp limit $child time -seconds [expr {[clock seconds] + 120}]
  foreach {command axes} $::moveFamilies {
    interp alias $child $command {} SimMove $command $axes
  }
  interp alias $child TclSrv_Optics:BeamStop {} SimFixed TclSrv_Optics:BeamStop beamstop {{in null} in {out null} out}
  interp alias $child TclSrv_Optics:Shutter {} SimFixed TclSrv_Optics:Shutter shutter {open open close closed}
  interp alias $child TclSrv_ORTEC994:MeasureCounts:ConfigureTimer {} SimConfigureTimer
  interp alias $child TclSrv_ORTEC994:MeasureCountsWithTimer {} SimMeasure $child
  interp alias $child open {} SimOpen $child
  if {[catch {interp eval $child $text} message]} {
    array set ::sim [list status error message $message]
  }
  # A channel the script closed no longer exists in the child, so it cannot be taken back.
  foreach channel $::sim(channels) {
    if {![catch {interp transfer $child $channel {}}]} {
      incr ::sim(unclosed)
      close $channel
    }
  }
  interp delete $child
}

# status, message, axes, then per call, open and measure (the counts of A and of B, mode, shutter, beam stop,
# each axis' move text or -), and one line each for the facts.
proc WriteReport {path} {
  set out [open $path w]
  puts $out "status $::sim(status)\nmessage [Hex $::sim(message)]\naxes [join $::axisNames]"
  foreach call $::sim(calls) {
    puts $out "call [lindex $call 0] [Hex [lindex $call 1]]"
  }
  foreach {key list} {open opens measure measures} {
    foreach entry $::sim($list) {
      puts $out "$key $entry"
    }
  }
  foreach fact {shutter beamstop timer unclosed} {
    puts $out "$fact $::sim($fact)"
  }
  close $out
}

lassign $argv script sandbox report
set f [open $script rb]
array set ::sim [list status ok message {} calls {} opens {} channels {} measures {} measurements 0 \
                     shutter closed beamstop unknown timer - unclosed 0 sandbox $sandbox]
foreach axis $axisNames {
  set ::sim(axis,$axis) -
}
set bytes [read $f]
close $f
# The text runs as `source` reads it (UTF-8, CR LF as LF).
RunScript [string map [list \r\n \n] [encoding convertfrom utf-8 $bytes]]
WriteReport $report
