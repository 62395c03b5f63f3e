var hp 40
if %hp < 50 then {
  echo low
  if %hp < 20 then {
    echo very low
  } else {
    echo not very low
  }
} elseif %hp < 80 then {
  echo middle
} else {
  echo high
}
math hp add 45
if %hp > 80 then echo now high
elseif %hp > 10 then echo also middle
else echo still low
eval word contains("%1", "orc")
gosub greet "big orc" two
echo back with %1
exit
greet:
  echo hello %1 and %2
  return
