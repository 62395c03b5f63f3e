echo $charactername has $Skill.Rate in $zoneid
echo $righthand
