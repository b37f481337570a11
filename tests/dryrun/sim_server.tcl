# Dry run of a generated script against a simulated beamline control server.
#
#   tclsh sim_server.tcl SCRIPT SANDBOXDIR REPORTFILE ?COUNTMODEL?
#
# SCRIPT runs in a safe child interpreter: it cannot reach the file system, run programs or load
# code. The control server's commands are aliases into this interpreter that record every call:
#   TclSrv_Optics:4DSlit {BLADE move VALUE}       blade positions of slit_y1, slit_y2, slit_z1, slit_z2
#   TclSrv_Optics:BeamStop in|out null
#   TclSrv_Optics:Shutter open|close
#   TclSrv_ORTEC994:MeasureCounts:ConfigureTimer T
#   TclSrv_ORTEC994:MeasureCountsWithTimer T 0    sets the global _ORTEC994(counterA) in the script
#   open PATH ?MODE? ?PERMISSIONS?                 the requested path and mode are recorded verbatim;
#                                                  the file is made as SANDBOXDIR/result-N.dat
# Result files are written with CR LF line ends, as the control server on Windows writes them.
#
# COUNTMODEL, if given, is a lambda for `apply` taking {seq y1 y2 z1 z2} (seq counts measurements
# from 1; a blade never moved is at 0.0) and returning the count, rounded to an integer. Without it
# measurement number seq counts 1000 + 7 * seq.
#
# The script file is read as UTF-8 with CR LF turned into LF, as `source` does with text files. (Tcl
# itself also treats a CR before LF as a blank, so the raw text runs the same.)
#
# REPORTFILE gets one fact per line, fixed words plain and free texts as hexadecimal UTF-8 bytes;
# lines starting with "#" are readable copies for people and carry no data:
#   status ok|error            message HEX (error only)
#   call SEQ NAME ARGSHEX      every simulated command in order, its arguments as a Tcl list
#   open N MODEHEX PATHHEX     file N N                 (sandbox name of open number N)
#   measure SEQ COUNT Y1 Y2 Z1 Z2   blade positions as their move texts, "-" if never moved
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

proc SimSlit {args} {
  global sim
  Record TclSrv_Optics:4DSlit {*}$args
  if {[llength $args] != 1} {
    Refuse "TclSrv_Optics:4DSlit takes one argument {blade move value}"
  }
  set request [lindex $args 0]
  if {[catch {llength $request} n] || $n != 3} {
    Refuse "TclSrv_Optics:4DSlit: malformed request \"$request\""
  }
  lassign $request blade verb value
  if {$blade ni {slit_y1 slit_y2 slit_z1 slit_z2}} {
    Refuse "TclSrv_Optics:4DSlit: unknown blade \"$blade\""
  }
  if {$verb ne "move" || ![string is double -strict $value]} {
    Refuse "TclSrv_Optics:4DSlit: bad request \"$request\""
  }
  set sim(blade,$blade) $value
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
  if {[llength $args] != 1 || ![string is double -strict [lindex $args 0]]} {
    Refuse "TclSrv_ORTEC994:MeasureCounts:ConfigureTimer: bad arguments \"$args\""
  }
  set sim(timer) [lindex $args 0]
  return
}

proc BladeNumber {blade} {
  global sim
  if {$sim(blade,$blade) eq "-"} {
    return 0.0
  }
  return $sim(blade,$blade)
}

proc SimMeasure {child args} {
  global sim
  Record TclSrv_ORTEC994:MeasureCountsWithTimer {*}$args
  if {[llength $args] != 2 || ![string is double -strict [lindex $args 0]] || [lindex $args 1] ne "0"} {
    Refuse "TclSrv_ORTEC994:MeasureCountsWithTimer: bad arguments \"$args\""
  }
  if {$sim(timer) eq "-"} {
    Refuse "TclSrv_ORTEC994:MeasureCountsWithTimer: timer not configured"
  }
  set seq [incr sim(measurements)]
  if {$sim(model) eq ""} {
    set count [expr {1000 + 7 * $seq}]
  } else {
    set raw [apply $sim(model) $seq [BladeNumber slit_y1] [BladeNumber slit_y2] \
                 [BladeNumber slit_z1] [BladeNumber slit_z2]]
    set count [expr {wide(round($raw))}]
  }
  lappend sim(measures) [list $seq $count $sim(blade,slit_y1) $sim(blade,slit_y2) \
                             $sim(blade,slit_z1) $sim(blade,slit_z2)]
  interp eval $child [list set ::_ORTEC994(counterA) $count]
  return
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
  interp alias $child TclSrv_Optics:4DSlit {} SimSlit
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
  global sim
  set out [open $path w]
  fconfigure $out -translation lf -encoding utf-8
  puts $out "# dry run of [OneLine $script]"
  puts $out "status $sim(status)"
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
  global sim
  if {[llength $argv] < 3 || [llength $argv] > 4} {
    puts stderr "usage: tclsh sim_server.tcl SCRIPT SANDBOXDIR REPORTFILE ?COUNTMODEL?"
    exit 2
  }
  lassign $argv script sandbox report model
  array set sim {
    status ok message {} calls {} callSeq 0 opens 0 openList {} channels {} measures {}
    moves 0 measurements 0 shutter closed beamstop unknown timer - unclosed 0
    blade,slit_y1 - blade,slit_y2 - blade,slit_z1 - blade,slit_z2 -
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
