-- Stage 1: a new session with one stereo track holding the input as a region, the plug-in
-- on the track (a factory program and parameter values), saved and closed.
-- Arguments: the job file, the folder of these scripts.

local job = dofile(arg[1])
local here = arg[2]
local wav = dofile(here .. "/wav.lua")
local common = dofile(here .. "/common.lua")

local input = wav.read(job.input)
if input.channels > 2 then common.die("%s: %d channels; a stereo track takes 1 or 2", job.input, input.channels) end
if input.frames < 1 then common.die("%s: no audio", job.input) end

common.start_engine(job)
if create_session(job.session_dir, job.session_name, input.rate) == nil or Session == nil then
  common.die("Ardour could not create a session in %s", job.session_dir)
end
if Session:nominal_sample_rate() ~= input.rate then
  common.die("the session runs at %d Hz, the input is %d Hz", Session:nominal_sample_rate(), input.rate)
end

local tracks = Session:new_audio_track(2, 2, nil, 1, job.track_name, ARDOUR.PresentationInfo.max_order,
                                       ARDOUR.TrackMode.Normal, true)
if tracks:size() ~= 1 then common.die("Ardour did not create the track") end
local track = tracks:front()

-- The Lua tool cannot import audio, so let Ardour make the region and its two source files
-- itself (a bounce of the still empty track: silence of the input's length); the files get
-- the input's samples once the session is closed.
local placeholder = track:bounce_range(0, input.frames, ARDOUR.InterThreadInfo(), track:main_outs(), false, "")
if placeholder:isnil() then common.die("Ardour could not make the input region") end
local sources = common.source_paths(placeholder)
if #sources ~= 2 then common.die("the input region has %d channels", #sources) end

local playlist = track:playlist()
playlist:add_region(placeholder, Temporal.timepos_t(0), 1, false, 0, 0, false)
-- Region fades would shape the first and last 64 samples: the host's own sound, not ours.
for region in playlist:region_list():iter() do
  local audio = region:to_audioregion()
  audio:set_fade_in_active(false)
  audio:set_fade_out_active(false)
end

if job.tempo then
  -- One tempo for the whole session, in quarter notes per minute.
  local map = Temporal.TempoMap.fetch_writable()
  map:set_tempo(Temporal.Tempo(job.tempo, job.tempo, 4), Temporal.timepos_t(0))
  Temporal.TempoMap.update(map)
  common.say(job, "tempo: %g", job.tempo)
end

if job.plugin then
  local proc
  if job.lv2 then
    proc = ARDOUR.LuaAPI.new_plugin(Session, job.lv2, ARDOUR.PluginType.LV2, "")
  else
    proc = ARDOUR.LuaAPI.new_plugin(Session, "Nimbrel", ARDOUR.PluginType.LXVST, "")
  end
  if proc:isnil() then common.die("Ardour does not know the plug-in (was the scan accepted?)") end
  if not track:add_processor_by_index(proc, 0, nil, true) then common.die("Ardour refused the plug-in on the track") end
  local insert = proc:to_insert()
  local plugin = insert:plugin(0)

  if job.presets then
    local f = io.open(job.presets, "w")
    if not f then common.die("cannot write %s", job.presets) end
    for preset in plugin:get_info():get_presets():iter() do f:write(preset.uri, "\t", preset.label, "\n") end
    f:close()
  end

  if job.program then
    local chosen
    for preset in plugin:get_info():get_presets():iter() do
      -- Ardour labels a VST plug-in's programs "<index> - <name>", an LV2 plug-in's presets
      -- by their names (their URIs end in the number). Names match in any case, as on the
      -- command line.
      local index, name = string.match(preset.label, "^(%d+) %- (.*)$")
      if job.lv2 then
        index, name = string.match(preset.uri, "/preset/0*(%d+)$"), preset.label
        if index == "" then index = "0" end
      end
      if index == job.program or (name and name:lower() == job.program:lower()) then
        chosen = preset
        break
      end
    end
    if not chosen then common.die("no program %q among the plug-in's presets", job.program) end
    if not plugin:load_preset(chosen) then common.die("Ardour could not load program %q", chosen.label) end
    common.say(job, "program: %s", chosen.label)
  end

  for _, pair in ipairs(job.params) do
    local name, value = pair[1], pair[2]
    -- An LV2 parameter comes with its port index, which Ardour's labels (the long names) do not tell.
    local index = pair[3]
    for i = 0, index and -1 or plugin:parameter_count() - 1 do
      if plugin:parameter_label(i) == name then
        index = i
        break
      end
    end
    if not index then common.die("the plug-in has no parameter %q", name) end
    if not ARDOUR.LuaAPI.set_processor_param(proc, index, value) then
      common.die("Ardour refused %s = %s", name, tostring(value))
    end
    common.say(job, "parameter %d %s = %.9g", index, name, value)
  end

  if job.values_before then common.write_values(job.values_before, proc, insert, job) end
end

Session:save_state("", false, false, false, false, false)
-- Let go of every reference into the session before it closes.
tracks, track, placeholder, playlist = nil, nil, nil, nil
collectgarbage()
close_session()

-- Ardour has let go of the files: fill them with the input (a mono input feeds both sides).
wav.write(sources[1], input.rate, { input.data[1] })
wav.write(sources[2], input.rate, { input.data[math.min(2, input.channels)] })
common.say(job, "session: %s/%s.ardour, %d frames at %d Hz", job.session_dir, job.session_name, input.frames, input.rate)
