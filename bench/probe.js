// Linked into bench/run's page with the probe: its run comes from the page's
// address (?run=levels), and its log, one JSON object a line, goes to the console.
Module.preRun = (Module.preRun || []).concat(() => Object.assign(ENV, { QUENDLE_PROBE_OUT: '/dev/stdout',
  QUENDLE_PROBE_RUN: new URLSearchParams(location.search).get('run') }));
