waitfor You hit
echo $righthand ($righthandnoun) in $roomname, $roomexits rt $roundtime health $health standing $standing kneeling $kneeling
waitfor >
echo prompt $prompt at $gametime, rt $roundtime
waitfor >
echo $charactername: Arcana $Arcana.Ranks rate $Arcana.LearningRate ($Arcana.LearningRateName)
